#pragma once

#include <QLabel>
#include <QString>

namespace kestrix::views {

// One line of text from outside (a drive's or a program's name) that gives way when space is
// short: cut with an ellipsis at the end, the whole text in its tooltip and its accessible name.
// It never widens what holds it beyond that space.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(const QString& whole, QWidget* parent = nullptr);

    const QString& wholeText() const { return whole_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void elide();

    QString whole_;
};

}  // namespace kestrix::views

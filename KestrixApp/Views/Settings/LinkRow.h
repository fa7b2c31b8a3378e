#pragma once

#include <QString>
#include <QWidget>

namespace kestrix::views {

// A link the user can paste into a launcher or a script: the link itself, selectable, what it
// does beneath it, and a button that copies it.
class LinkRow : public QWidget {
    Q_OBJECT
public:
    LinkRow(const QString& url, const QString& text, QWidget* parent = nullptr);

    // Puts exactly the link on the clipboard, in place of whatever was there.
    void copy() const;

private:
    QString url_;
};

}  // namespace kestrix::views

#pragma once

#include <QLabel>
#include <QWidget>
#include <memory>

#include "KestrixApp/Views/Toast/Toast.h"

namespace kestrix::views {

// The toast's own panel: frameless, never taking the focus or the mouse, above other windows
// and, being left alone by the window manager, on every workspace. Made once and reused.
class ToastPanel : public ToastSurface {
public:
    ToastPanel();
    ~ToastPanel() override;

    void show(const QString& text) override;
    void hide() override;

    QWidget& widget() { return *panel_; }
    // The whole text of the toast, also where the panel shows it cut.
    QString text() const { return text_; }
    QLabel& label() { return *label_; }

private:
    std::unique_ptr<QWidget> panel_;
    QLabel* label_ = nullptr;
    QString text_;
};

}  // namespace kestrix::views

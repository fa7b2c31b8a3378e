#pragma once

#include <QString>

#include "KestrixApp/Views/Toast/Toast.h"

namespace kestrix::views::testing {

// A toast surface that keeps what it was last asked to show, and whether it still shows it.
class RecordingToastSurface : public ToastSurface {
public:
    QString shown;
    bool visible = false;
    void show(const QString& text) override {
        shown = text;
        visible = true;
    }
    void hide() override { visible = false; }
};

}  // namespace kestrix::views::testing

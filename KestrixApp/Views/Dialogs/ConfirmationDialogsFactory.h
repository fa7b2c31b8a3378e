#pragma once

#include <memory>

#include "KestrixApp/Views/ViewContext.h"

namespace kestrix::views {

// The questions as the app asks them: modal message boxes.
std::unique_ptr<ConfirmationDialogs> makeConfirmationDialogs();

}  // namespace kestrix::views

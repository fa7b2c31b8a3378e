#pragma once

#include "KestrixApp/Views/ViewContext.h"

namespace kestrix::views {

// The confirmation questions as modal dialogs over the asking window, brought to the front.
class ModalConfirmations : public ConfirmationDialogs {
public:
    std::optional<std::set<std::int32_t>> confirmQuitAndEject(QWidget* parent, const Drive& drive,
                                                               const std::vector<Holder>& holders,
                                                               std::uint32_t currentUID) override;
    bool confirmForceEject(QWidget* parent, const Drive& drive, const std::vector<Holder>& holders) override;
    bool confirmStopBackup(QWidget* parent, const Drive& drive) override;
    bool confirmClearHistory(QWidget* parent) override;
};

}  // namespace kestrix::views

#pragma once

#include <QCheckBox>
#include <QString>

#include "KestrixApp/Model/AppModel.h"

namespace kestrix::views {

// One of the model's yes-or-no settings as a toggle, in both directions.
struct ModelFlag {
    bool (AppModel::*get)() const;
    void (AppModel::*set)(bool);
    void (AppModel::*changed)(bool);
};

inline constexpr ModelFlag launchAtLoginFlag{&AppModel::launchAtLogin, &AppModel::setLaunchAtLogin,
                                             &AppModel::launchAtLoginChanged};
inline constexpr ModelFlag showDiskImagesFlag{&AppModel::showDiskImages, &AppModel::setShowDiskImages,
                                              &AppModel::showDiskImagesChanged};
inline constexpr ModelFlag showNetworkSharesFlag{&AppModel::showNetworkShares, &AppModel::setShowNetworkShares,
                                                 &AppModel::showNetworkSharesChanged};
inline constexpr ModelFlag hotkeyEnabledFlag{&AppModel::hotkeyEnabled, &AppModel::setHotkeyEnabled,
                                             &AppModel::hotkeyEnabledChanged};

// The toggle always shows the model's value, also when the model did not take the user's
// choice (a login item that could not be registered).
QCheckBox* modelToggle(AppModel& model, const QString& label, const ModelFlag& flag);

}  // namespace kestrix::views

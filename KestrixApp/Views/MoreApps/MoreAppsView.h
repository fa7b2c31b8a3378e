#pragma once

#include <string>

#include "KestrixApp/Views/MoreApps/MoreAppsListView.h"

namespace kestrix::views {

// What Kestrix tells the list about itself, built once per process: its own entry left out,
// "kestrix" as the campaign source, sold directly, its desktop identifier, and the network as
// far as its sandbox allows.
const moreapps::MoreAppsConfig& kestrixMoreAppsConfig();

// The list's language, chosen once per process from the user's preferred languages.
const std::string& moreAppsLanguage();

// The More Apps page of the settings: the list over the maker's feed, fetched over HTTPS and
// cached in the user's cache folder.
MoreAppsListView* makeMoreAppsView(QWidget* parent = nullptr);

}  // namespace kestrix::views

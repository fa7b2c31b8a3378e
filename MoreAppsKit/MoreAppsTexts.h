#pragma once

#include <string>

#include "MoreAppsKit/MoreAppsEntry.h"

// The list's own texts in the languages it speaks (MoreAppsLanguage); any other code
// gets English. The maker's site is named by its host.
namespace moreapps::MoreAppsTexts {

std::string title(const std::string& language);

// Where the links lead: every one to Flathub in a Flathub build; otherwise Flathub links
// there and the rest to the maker's site.
std::string footer(const std::string& language, bool isDirect);

// The row's tooltip: "Opens" with the shown name and where its link leads.
std::string rowHelp(const MoreAppsEntry& entry, const std::string& language);

std::string seeAllTitle(const std::string& language);

}  // namespace moreapps::MoreAppsTexts

#include "MoreAppsKit/MoreAppsLanguage.h"

#include <algorithm>

namespace moreapps::MoreAppsLanguage {

std::string code(std::string_view identifier) {
    return std::string(identifier.substr(0, identifier.find_first_of("-_.@")));
}

std::string choose(const std::vector<std::string>& preferredLanguages) {
    const auto spoken = std::find_if(preferredLanguages.begin(), preferredLanguages.end(), [](const std::string& language) {
        const std::string languageCode = code(language);
        return languageCode == english || languageCode == spanish;
    });
    return spoken == preferredLanguages.end() ? std::string(english) : code(*spoken);
}

}  // namespace moreapps::MoreAppsLanguage

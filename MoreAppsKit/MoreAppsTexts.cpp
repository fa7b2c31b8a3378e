#include "MoreAppsKit/MoreAppsTexts.h"

#include "MoreAppsKit/MoreAppsHosts.h"
#include "MoreAppsKit/MoreAppsLanguage.h"

#include <string_view>

namespace moreapps::MoreAppsTexts {

namespace {

struct Text {
    const char* english;
    const char* spanish;
};

// The text in the language with "%1" and "%2" replaced by the values, in one pass so that
// a value's own "%2" stays as it is.
std::string text(const Text& entry, const std::string& language, const std::string& first = {},
                 const std::string& second = {}) {
    const std::string_view pattern = language == MoreAppsLanguage::spanish ? entry.spanish : entry.english;
    std::string result;
    for (std::size_t index = 0; index < pattern.size(); ++index) {
        if (pattern[index] == '%' && index + 1 < pattern.size() && (pattern[index + 1] == '1' || pattern[index + 1] == '2')) {
            result += pattern[++index] == '1' ? first : second;
        } else {
            result += pattern[index];
        }
    }
    return result;
}

const std::string site{MoreAppsHosts::maker};

}  // namespace

std::string title(const std::string& language) {
    return text({"More Linux Apps", "Más apps para Linux"}, language);
}

std::string footer(const std::string& language, bool isDirect) {
    if (!isDirect) return text({"Each one opens on Flathub.", "Cada una se abre en Flathub."}, language);
    return text({"Flathub apps open on Flathub; the others open on %1.",
                 "Las apps de Flathub se abren en Flathub; las demás, en %1."},
                language, site);
}

std::string rowHelp(const MoreAppsEntry& entry, const std::string& language) {
    const std::string& name = entry.shownName(language);
    if (entry.pointsToAppStore()) return text({"Opens %1 on Flathub", "Abre %1 en Flathub"}, language, name);
    if (entry.pointsToMakerSite()) {
        return text({"Opens %1 on %2", "Abre %1 en %2"}, language, name, site);
    }
    return text({"Opens %1 in your browser", "Abre %1 en tu navegador"}, language, name);
}

std::string seeAllTitle(const std::string& language) {
    return text({"See all Linux apps on %1", "Ver todas las apps para Linux en %1"}, language, site);
}

}  // namespace moreapps::MoreAppsTexts

#include "KestrixKit/Linux/Text/Translations.h"

#include <libintl.h>

#include <algorithm>
#include <clocale>
#include <string>
#include <string_view>
#include <system_error>

#include "KestrixKit/Text/Localized.h"

namespace kestrix::Translations {

namespace {

// Whether any language in the folder has this program's catalogue: the system's shared locale
// folder exists everywhere, with or without it.
bool holdsCatalogues(const std::filesystem::path& candidate) {
    std::error_code error;
    for (std::filesystem::directory_iterator language(candidate, error), end; !error && language != end;
         language.increment(error)) {
        std::error_code missing;
        const auto catalogue = language->path() / "LC_MESSAGES" / (std::string(translationDomain) + ".mo");
        if (std::filesystem::is_regular_file(catalogue, missing)) return true;
    }
    return false;
}

}  // namespace

std::filesystem::path folder() {
    std::error_code error;
    return folder(std::filesystem::read_symlink("/proc/self/exe", error));
}

std::filesystem::path folder(const std::filesystem::path& programFile) {
    if (!programFile.empty()) {
        const auto installed = (programFile.parent_path() / KESTRIX_LOCALE_FROM_PROGRAM).lexically_normal();
        if (holdsCatalogues(installed)) return installed;
    }
    return KESTRIX_BUILD_LOCALE_DIR;
}

void use(const std::filesystem::path& folder) {
    const char* messages = std::setlocale(LC_MESSAGES, "");
    // gettext ignores LANGUAGE under the "C" locale, which is also what a system without the
    // asked-for locale installed ends up in; its UTF-8 twin reads the same and lets LANGUAGE choose.
    if (messages == nullptr || std::string_view(messages) == "C" || std::string_view(messages) == "POSIX") {
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    }
    bindtextdomain(translationDomain, folder.c_str());
    bind_textdomain_codeset(translationDomain, "UTF-8");
}

std::string language() {
    // The empty text stands for the header of the catalogue gettext chose; without one it comes back as it is.
    return headerLanguage(dgettext(translationDomain, ""));
}

std::string headerLanguage(std::string_view header) {
    constexpr std::string_view field = "Language:";
    for (std::size_t start = 0; start < header.size();) {
        const std::size_t end = std::min(header.find('\n', start), header.size());
        std::string_view line = header.substr(start, end - start);
        if (line.starts_with(field)) {
            line.remove_prefix(field.size());
            const auto first = line.find_first_not_of(' ');
            const auto last = line.find_last_not_of(' ');
            return first == std::string_view::npos ? std::string() : std::string(line.substr(first, last - first + 1));
        }
        start = end + 1;
    }
    return {};
}

}  // namespace kestrix::Translations

#include "moreapps-lint/LintCommand.h"

#include <optional>
#include <variant>

#include "MoreAppsKit/Linux/LocalFileStore.h"
#include "MoreAppsKit/MoreAppsValidator.h"
#include "MoreAppsKit/MoreAppsVisibility.h"
#include "TextSupport/VisibleText.h"

namespace moreapps::LintCommand {

namespace {

constexpr const char* usage =
    "usage: moreapps-lint [--show [--this-app ID] [--bundle-id ID] [--utm-source S] [--direct | --app-store]] FILE\n";

struct Options {
    std::string file;
    bool show = false;
    MoreAppsConfig config{.thisApp = {}, .utmSource = {}, .isDirect = true, .bundleID = std::nullopt,
                          .allowsNetwork = false};
};

// The options, or a message saying what is wrong with them.
std::variant<Options, std::string> parseArguments(const std::vector<std::string>& arguments) {
    Options options;
    bool direct = false;
    bool appStore = false;
    std::optional<std::string> file;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        auto value = [&]() -> std::optional<std::string> {
            if (index + 1 >= arguments.size()) return std::nullopt;
            return arguments[++index];
        };
        if (argument == "--show") {
            options.show = true;
        } else if (argument == "--direct") {
            direct = true;
        } else if (argument == "--app-store") {
            appStore = true;
        } else if (argument == "--this-app" || argument == "--bundle-id" || argument == "--utm-source") {
            const auto given = value();
            if (!given) return argument + " needs a value";
            if (argument == "--this-app") options.config.thisApp = *given;
            if (argument == "--bundle-id") options.config.bundleID = *given;
            if (argument == "--utm-source") options.config.utmSource = *given;
        } else if (argument.starts_with("-") && argument != "-") {
            return "unknown option " + argument;
        } else if (file) {
            return "only one FILE may be given";
        } else {
            file = argument;
        }
    }
    if (direct && appStore) return "--direct and --app-store exclude each other";
    if (!file) return "no FILE given";
    options.file = *file;
    options.config.isDirect = !appStore;
    return options;
}

}  // namespace

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const auto parsed = parseArguments(arguments);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        err << "moreapps-lint: " << *problem << "\n" << usage;
        return exitUsage;
    }
    const auto& options = std::get<Options>(parsed);
    const auto data = LocalFileStore().read(options.file, MoreAppsValidator::maximumBytes + 1);
    if (!data) {
        err << "moreapps-lint: cannot read " << options.file << "\n";
        return exitUsage;
    }
    const auto result = MoreAppsValidator::parse(*data);
    if (const auto* error = std::get_if<MoreAppsError>(&result)) {
        // Kept on one line and free of terminal controls whatever the feed holds.
        out << textsupport::visibleText(error->description()) << "\n";
        return exitInvalid;
    }
    const auto& feed = std::get<MoreAppsFeed>(result);
    out << "ok: " << feed.apps.size() << " apps\n";
    if (options.show) {
        for (const auto& entry : MoreAppsVisibility::visibleApps(feed.apps, options.config)) {
            out << entry.id << "\t" << entry.linkToOpen(options.config).value_or("") << "\n";
        }
    }
    return exitValid;
}

}  // namespace moreapps::LintCommand

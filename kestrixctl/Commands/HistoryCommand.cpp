#include <charconv>
#include <ctime>

#include <nlohmann/json.hpp>

#include "KestrixKit/Coding/JSONText.h"
#include "KestrixKit/History/HistoryCoding.h"
#include "KestrixKit/History/Offender.h"
#include "KestrixKit/Linux/Files/HistoryFile.h"
#include "KestrixKit/Text/Localized.h"
#include "TextSupport/VisibleText.h"
#include "kestrixctl/Commands/Commands.h"
#include "kestrixctl/HistoryRecording.h"

namespace kestrixctl {
namespace {

constexpr std::size_t defaultOffenderCount = 5;

// A whole number, at least 0.
std::optional<std::size_t> offenderCount(const std::string& text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::string localDateText(std::chrono::system_clock::time_point date) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(date);
    std::tm local{};
    if (!localtime_r(&seconds, &local)) return {};
    char text[64];
    return std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) ? text : "";
}

// The outcome's label, then the culprits' names when there are any.
std::string outcomeLine(const kestrix::HistoryEvent& event) {
    std::string line = kestrix::label(event.outcome);
    for (std::size_t index = 0; index < event.culprits.size(); ++index) {
        line += (index == 0 ? ": " : ", ") + event.culprits[index].name;
    }
    return line;
}

void printJson(const Invocation& invocation, const kestrix::History& history,
               const std::vector<kestrix::Offender>& offenders) {
    nlohmann::json document = kestrix::historyJson(history);
    document["offenders"] = nlohmann::json::array();
    for (const auto& offender : offenders) document["offenders"].push_back(kestrix::offenderJson(offender));
    invocation.out << kestrix::coding::jsonText(document) << '\n';
}

void printText(const Invocation& invocation, const kestrix::History& history,
               const std::vector<kestrix::Offender>& offenders) {
    using kestrix::localized;
    std::ostream& out = invocation.out;
    if (history.events.empty()) {
        out << localized("No ejects yet") << '\n';
        return;
    }
    out << localized("Eject attempts") << ": " << history.events.size() << '\n'
        << localized("Blocked") << ": " << history.blockedCount() << '\n'
        << localized("Repeat offenders") << ": " << offenders.size() << '\n';
    if (!offenders.empty()) {
        out << '\n' << localized("Repeat offenders") << '\n';
        for (const auto& offender : offenders) out << "  " << textsupport::visibleText(offender.name) << " — " << kestrix::blockedTimesText(offender.count) << '\n';
    }
    out << '\n' << localized("Every attempt") << '\n';
    for (const auto& event : history.events) {
        out << "  " << textsupport::visibleText(event.driveName) << " — " << textsupport::visibleText(outcomeLine(event)) << " — " << localDateText(event.date) << '\n';
    }
}

}  // namespace

int runHistory(const Invocation& invocation) {
    const CommandGrammar grammar{.flags = {"--json", "--clear"}, .valuedOptions = {"--top"}};
    const auto parsed = parseCommandArguments(invocation.options.commandWords, grammar);
    if (const auto* error = std::get_if<ArgumentError>(&parsed)) return usageError(invocation, error->message);
    const auto& arguments = std::get<CommandArguments>(parsed);
    std::size_t top = defaultOffenderCount;
    if (const auto topText = arguments.last("--top")) {
        const auto count = offenderCount(*topText);
        if (!count) return usageError(invocation, "--top needs a whole number, 0 or more");
        top = *count;
    }

    const bool clear = arguments.has("--clear");
    const auto path = historyPath(invocation);
    kestrix::History history;
    if (path) {
        const kestrix::HistoryUpdate update = kestrix::updateHistory(*path, [&](kestrix::History& loaded) {
            if (clear) loaded.clear();
            return clear;
        });
        reportHistoryNotice(invocation, update.loaded);
        if (update.saveFailure) {
            invocation.err << "kestrixctl: the eject history was not cleared: " << textsupport::visibleText(*update.saveFailure) << '\n';
            return exitNotDone;
        }
        history = update.loaded.history;
    }
    const auto offenders = history.offenders(top);
    if (arguments.has("--json")) {
        printJson(invocation, history, offenders);
    } else {
        printText(invocation, history, offenders);
    }
    return exitSuccess;
}

}  // namespace kestrixctl

#include "KestrixKit/TimeMachine/TimeMachine.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "KestrixKit/Text/Localized.h"
#include "KestrixKit/Text/PlainText.h"
#include "KestrixKit/Text/UnicodeText.h"

namespace kestrix::TimeMachine {
namespace {

// The line breaks of Unicode, as their UTF-8 encodings: CR LF, LF, VT, FF, CR, NEL, LS, PS.
constexpr std::string_view lineBreaks[] = {"\r\n", "\n", "\v", "\f", "\r", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"};

std::vector<std::string_view> nonEmptyLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    std::size_t index = 0;
    while (index < text.size()) {
        const auto lineBreak = std::find_if(std::begin(lineBreaks), std::end(lineBreaks),
                                            [&](std::string_view mark) { return text.substr(index).starts_with(mark); });
        if (lineBreak == std::end(lineBreaks)) {
            ++index;
            continue;
        }
        if (index > start) lines.push_back(text.substr(start, index - start));
        index += lineBreak->size();
        start = index;
    }
    if (index > start) lines.push_back(text.substr(start));
    return lines;
}

// The whole text as a decimal number with a "." point, or absent.
std::optional<double> decimalNumber(std::string_view text) {
    if (text.starts_with('+') && text.size() > 1 && text[1] != '-') text.remove_prefix(1);
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return number;
}

std::optional<double> progressFrom(const std::string* percent) {
    if (percent == nullptr) return std::nullopt;
    const std::optional<double> number = decimalNumber(*percent);
    if (!number || std::isnan(*number) || *number < 0) return std::nullopt;
    return std::min(*number, 1.0);
}

std::optional<CommandOutput> runWith(const TimeMachineRunner& run, const char* argument) {
    if (!run) return std::nullopt;
    return run({argument});
}

}  // namespace

StatusFields parseStatus(std::string_view text) {
    std::map<std::string, std::string, std::less<>> values;
    for (std::string_view line : nonEmptyLines(text)) {
        line = text::trimmingBlanks(line);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = text::trimming(text::trimmingBlanks(line.substr(0, equals)), "\"");
        std::string_view value = text::trimmingBlanks(line.substr(equals + 1));
        if (value.ends_with(';')) value.remove_suffix(1);
        values.try_emplace(std::string(key), text::trimming(value, "\" "));
    }
    const auto valueOf = [&](std::string_view key) -> const std::string* {
        const auto found = values.find(key);
        return found == values.end() ? nullptr : &found->second;
    };
    StatusFields fields;
    const std::string* running = valueOf("Running");
    fields.running = running != nullptr && *running == "1";
    fields.progress = progressFrom(valueOf("Percent"));
    if (const std::string* phase = valueOf("BackupPhase")) fields.phase = *phase;
    return fields;
}

std::vector<std::string> parseDestinations(std::string_view text) {
    std::vector<std::string> mountPoints;
    for (std::string_view line : nonEmptyLines(text)) {
        line = text::trimmingBlanks(line);
        if (!line.starts_with("Mount Point")) continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view value = text::trimmingBlanks(line.substr(colon + 1));
        if (!value.empty()) mountPoints.emplace_back(value);
    }
    return mountPoints;
}

std::optional<TimeMachineStatus> read(const TimeMachineRunner& run) {
    const std::optional<CommandOutput> status = runWith(run, "status");
    if (!status) return std::nullopt;
    StatusFields fields = parseStatus(status->output);
    TimeMachineStatus result{.running = fields.running,
                             .phase = std::move(fields.phase),
                             .progress = fields.progress,
                             .destinationMountPoints = {}};
    if (result.running) {
        if (const std::optional<CommandOutput> destinations = runWith(run, "destinationinfo")) {
            result.destinationMountPoints = parseDestinations(destinations->output);
        }
    }
    return result;
}

std::pair<bool, std::string> stopBackup(const TimeMachineRunner& run) {
    const std::optional<CommandOutput> output = runWith(run, "stopbackup");
    if (!output) return {false, localized("tmutil couldn't be run")};
    return {output->exitStatus == 0, text::trimmed(output->output)};
}

}  // namespace kestrix::TimeMachine

#include "KestrixKit/Simulated/WorldEjector.h"

#include <charconv>
#include <limits>

#include "KestrixKit/Simulated/WorldFields.h"

namespace kestrix {
namespace {

using namespace world;

std::int32_t fromPattern(std::uint32_t pattern) { return static_cast<std::int32_t>(pattern); }

// A number (signed, or the unsigned 32-bit pattern) or a "0x" string of up to eight hex digits.
std::int32_t decodeStatus(const nlohmann::json& entry, const std::string& where) {
    const auto found = entry.find("status");
    if (found == entry.end() || found->is_null()) throw WorldFormatError(where + ".status: missing");
    const nlohmann::json& status = *found;
    if (status.is_number_unsigned() && status.get<std::uint64_t>() <= std::numeric_limits<std::uint32_t>::max()) {
        return fromPattern(static_cast<std::uint32_t>(status.get<std::uint64_t>()));
    }
    if (status.is_number_integer() && !status.is_number_unsigned() &&
        status.get<std::int64_t>() >= std::numeric_limits<std::int32_t>::min()) {
        return static_cast<std::int32_t>(status.get<std::int64_t>());
    }
    if (status.is_string()) {
        const std::string& text = status.get_ref<const std::string&>();
        const std::string_view digits = std::string_view(text).substr(std::min<std::size_t>(2, text.size()));
        std::uint32_t pattern = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pattern, 16);
        const bool prefixed = text.starts_with("0x") || text.starts_with("0X");
        if (prefixed && !digits.empty() && digits.size() <= 8 && error == std::errc() &&
            end == digits.data() + digits.size()) {
            return fromPattern(pattern);
        }
    }
    throw WorldFormatError(where + ".status: expected a 32-bit number or a \"0x\" hexadecimal string");
}

EjectOutcome decodeOutcome(const nlohmann::json& value, const std::string& where) {
    const nlohmann::json& entry = object(value, where);
    const std::string name = requiredString(entry, "outcome", where);
    if (name == "busy") {
        return {EjectOutcome::Busy{.volume = requiredString(entry, "volume", where),
                                   .pid = optionalInt32(entry, "pid", where),
                                   .status = decodeStatus(entry, where)}};
    }
    if (name == "failed") {
        return {EjectOutcome::Failed{.volume = optionalString(entry, "volume", where),
                                     .status = decodeStatus(entry, where),
                                     .message = optionalString(entry, "message", where)}};
    }
    if (name == "ejected") return {EjectOutcome::Ejected{}};
    if (name == "unmountedOnly") return {EjectOutcome::UnmountedOnly{}};
    if (name == "detached") return {EjectOutcome::Detached{}};
    throw WorldFormatError(where + ".outcome: expected busy, failed, ejected, unmountedOnly or detached");
}

}  // namespace

WorldEjector decodeWorldEjector(const nlohmann::json& worldObject) {
    WorldEjector ejector;
    const auto section = worldObject.find("ejector");
    if (section == worldObject.end() || section->is_null()) return ejector;
    for (const auto& [driveID, outcomes] : object(*section, "ejector").items()) {
        const std::string where = "ejector." + driveID;
        if (!outcomes.is_array()) throw WorldFormatError(where + ": expected an array");
        std::deque<EjectOutcome>& queue = ejector.outcomesByDrive[driveID];
        for (std::size_t index = 0; index < outcomes.size(); ++index) {
            queue.push_back(decodeOutcome(outcomes[index], where + "[" + std::to_string(index) + "]"));
        }
    }
    return ejector;
}

}  // namespace kestrix

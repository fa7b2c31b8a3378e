#include "KestrixKit/History/HistoryCoding.h"

#include <optional>

#include "KestrixKit/Coding/IsoDate.h"
#include "KestrixKit/Coding/JSONText.h"

namespace kestrix {
namespace {

using nlohmann::json;

const std::string* stringField(const json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get_ptr<const std::string*>() : nullptr;
}

std::optional<HistoryEvent::Culprit> decodeCulprit(const json& object) {
    if (!object.is_object()) return std::nullopt;
    const std::string* name = stringField(object, "name");
    const std::string* kindText = stringField(object, "kind");
    if (!name || !kindText) return std::nullopt;
    const auto kind = helperKindFromRawValue(*kindText);
    if (!kind) return std::nullopt;
    return HistoryEvent::Culprit{*name, *kind};
}

std::optional<HistoryEvent> decodeEvent(const json& object) {
    if (!object.is_object()) return std::nullopt;
    const std::string* idText = stringField(object, "id");
    const std::string* dateText = stringField(object, "date");
    const std::string* driveName = stringField(object, "driveName");
    const std::string* outcomeText = stringField(object, "outcome");
    const auto culprits = object.find("culprits");
    if (!idText || !dateText || !driveName || !outcomeText || culprits == object.end() || !culprits->is_array()) {
        return std::nullopt;
    }
    const auto id = Uuid::parse(*idText);
    const auto date = isoDate(*dateText);
    const auto outcome = outcomeFromRawValue(*outcomeText);
    if (!id || !date || !outcome) return std::nullopt;
    HistoryEvent event{.id = *id, .date = *date, .driveName = *driveName, .outcome = *outcome};
    for (const json& culpritObject : *culprits) {
        auto culprit = decodeCulprit(culpritObject);
        if (!culprit) return std::nullopt;
        event.culprits.push_back(std::move(*culprit));
    }
    return event;
}

json culpritJson(const HistoryEvent::Culprit& culprit) {
    return {{"name", culprit.name}, {"kind", rawValue(culprit.kind)}};
}

json eventJson(const HistoryEvent& event) {
    json culprits = json::array();
    for (const auto& culprit : event.culprits) culprits.push_back(culpritJson(culprit));
    return {{"id", event.id.string()},
            {"date", isoDateString(event.date)},
            {"driveName", event.driveName},
            {"outcome", rawValue(event.outcome)},
            {"culprits", std::move(culprits)}};
}

}  // namespace

json historyJson(const History& history) {
    json events = json::array();
    for (const auto& event : history.events) events.push_back(eventJson(event));
    return {{"events", std::move(events)}};
}

json offenderJson(const Offender& offender) {
    return {{"name", offender.name},
            {"kind", rawValue(offender.kind)},
            {"count", offender.count},
            {"lastSeen", isoDateString(offender.lastSeen)}};
}

std::string encodeHistory(const History& history) {
    return coding::jsonText(historyJson(history)) + '\n';
}

std::optional<History> decodeHistory(std::string_view bytes) {
    const json document = coding::parseWholeJSON(bytes);
    if (!document.is_object()) return std::nullopt;
    const auto events = document.find("events");
    if (events == document.end() || !events->is_array()) return std::nullopt;
    History history;
    history.events.reserve(events->size());
    for (const json& eventObject : *events) {
        auto event = decodeEvent(eventObject);
        if (!event) return std::nullopt;
        history.events.push_back(std::move(*event));
    }
    return history;
}

}  // namespace kestrix

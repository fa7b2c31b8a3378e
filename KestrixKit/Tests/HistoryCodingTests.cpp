#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "KestrixKit/History/HistoryCoding.h"
#include "KestrixKit/Coding/IsoDate.h"

using namespace kestrix;
using namespace std::chrono_literals;

namespace {

// 2025-03-01T14:05:09Z
const auto sampleDate = std::chrono::system_clock::time_point{} + 1'740'837'909s;
const std::string sampleId = "4B5E6A1C-9D2F-4E8A-B7C3-1F0A2B3C4D5E";

std::string oneEvent(const std::string& id, const std::string& date, const std::string& outcome, const std::string& kind) {
    return R"({"events":[{"id":")" + id + R"(","date":")" + date + R"(","driveName":"Stick","outcome":")" + outcome +
           R"(","culprits":[{"name":"sh","kind":")" + kind + R"("}]}]})";
}

}  // namespace

TEST(HistoryCoding, WritesSortedPrettyJsonWithWholeSecondUtcDates) {
    const History history(std::vector<HistoryEvent>{{*Uuid::parse(sampleId), sampleDate + 900ms, "Stick",
                                                     HistoryEvent::Outcome::heldByMacOS, {{"mds", HelperKind::spotlight}}}});
    EXPECT_EQ(encodeHistory(history), R"({
  "events": [
    {
      "culprits": [
        {
          "kind": "spotlight",
          "name": "mds"
        }
      ],
      "date": "2025-03-01T14:05:09Z",
      "driveName": "Stick",
      "id": "4B5E6A1C-9D2F-4E8A-B7C3-1F0A2B3C4D5E",
      "outcome": "heldByMacOS"
    }
  ]
}
)");
}

TEST(HistoryCoding, ReadsFilesWholeAndWritesThemBackUnchanged) {
    std::ifstream file(KESTRIX_TEST_DATA "/history/three-events.json", std::ios::binary);
    const History history = decodeHistory(std::string(std::istreambuf_iterator<char>(file), {})).value_or(History{});
    ASSERT_EQ(history.events.size(), 3u);
    const HistoryEvent& blocked = history.events[1];
    EXPECT_EQ(blocked.id.string(), "0C1D2E3F-4A5B-4C6D-8E7F-8A9B0C1D2E3F");
    EXPECT_EQ(blocked.date, sampleDate - 39s);
    EXPECT_EQ(blocked.outcome, HistoryEvent::Outcome::inUse);
    EXPECT_EQ(blocked.culprits, (std::vector<HistoryEvent::Culprit>{{"zsh", HelperKind::shell}, {"Preview", HelperKind::app}}));
    EXPECT_EQ(decodeHistory(encodeHistory(history)), history);

    History many;
    many.events.assign(History::limit + 20, history.events[0]);
    EXPECT_EQ(decodeHistory(encodeHistory(many))->events.size(), History::limit + 20);
}

TEST(HistoryCoding, AnythingButAHistoryFileReadsAsNothing) {
    const std::string valid = oneEvent(sampleId, "2025-03-01T14:05:09Z", "inUse", "shell");
    ASSERT_EQ(decodeHistory(valid)->events.size(), 1u);
    EXPECT_EQ(decodeHistory("{\"events\": []}"), History{});
    for (const std::string& bytes : {
             std::string(), std::string("{\"events\": ["), std::string("[]"), std::string("{}"),
             std::string("{\"events\": {}}"), std::string("{\"events\": [1]}"),
             std::string(R"({"events":[{"id":")" + sampleId + R"(","date":"2025-03-01T14:05:09Z","driveName":"S","outcome":"ejected"}]})"),
             oneEvent(sampleId, "2025-03-01T14:05:09Z", "ejectedd", "shell"),
             oneEvent(sampleId, "2025-03-01T14:05:09Z", "inUse", "daemon"),
             oneEvent(sampleId, "2025-03-01T14:05:09.250Z", "inUse", "shell"),
             oneEvent(sampleId, "2025-03-01T15:05:09+01:00", "inUse", "shell"),
             oneEvent(sampleId, "2025-03-01 14:05:09Z", "inUse", "shell"),
             oneEvent(sampleId, "2025-02-29T14:05:09Z", "inUse", "shell"),
             oneEvent(sampleId, "2025-03-01T24:00:00Z", "inUse", "shell"),
             oneEvent(sampleId, "9999-03-01T14:05:09Z", "inUse", "shell"),
             oneEvent("4B5E6A1C9D2F4E8AB7C31F0A2B3C4D5E", "2025-03-01T14:05:09Z", "inUse", "shell"),
             oneEvent("4B5E6A1C-9D2F-4E8A-B7C3-1F0A2B3C4D5G", "2025-03-01T14:05:09Z", "inUse", "shell"),
             // A whole history followed by a NUL and more: the file must be one document.
             valid + std::string(1, '\0') + "junk", valid + std::string(1, '\0'), valid + " {}",
         }) {
        EXPECT_EQ(decodeHistory(bytes), std::nullopt) << bytes;
    }
}

TEST(HistoryCoding, DatesAndIdentifiersRoundTrip) {
    for (const std::string text : {"1969-12-31T23:59:59Z", "2024-02-29T23:59:59Z", "2200-12-31T00:00:01Z"}) {
        const auto date = isoDate(text);
        ASSERT_TRUE(date) << text;
        EXPECT_EQ(isoDateString(*date + 999ms), text);
    }
    EXPECT_EQ(isoDateString(sampleDate - 1ms), "2025-03-01T14:05:08Z");

    std::array<std::uint8_t, 16> bytes;
    bytes.fill(0xab);
    EXPECT_EQ(Uuid::version4(bytes).string(), "ABABABAB-ABAB-4BAB-ABAB-ABABABABABAB");
    EXPECT_EQ(Uuid::parse("abababab-abab-4bab-abab-abababababab"), Uuid::version4(bytes));
}

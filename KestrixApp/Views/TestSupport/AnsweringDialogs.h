#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "KestrixApp/Views/ViewContext.h"

namespace kestrix::views::testing {

// Answers every question as the test says and remembers what was asked.
class AnsweringDialogs : public ConfirmationDialogs {
public:
    std::optional<std::set<std::int32_t>> quitAnswer;
    bool forceAnswer = false;
    bool stopBackupAnswer = false;
    bool clearHistoryAnswer = false;
    std::vector<std::string> asked;
    std::vector<Holder> askedHolders;
    int clearHistoryQuestions = 0;

    std::optional<std::set<std::int32_t>> confirmQuitAndEject(QWidget*, const Drive& drive,
                                                               const std::vector<Holder>& holders,
                                                               std::uint32_t) override {
        asked.push_back("quit " + drive.name());
        askedHolders = holders;
        return quitAnswer;
    }
    bool confirmForceEject(QWidget*, const Drive& drive, const std::vector<Holder>& holders) override {
        asked.push_back("force " + drive.name());
        askedHolders = holders;
        return forceAnswer;
    }
    bool confirmStopBackup(QWidget*, const Drive& drive) override {
        asked.push_back("stop backup " + drive.name());
        return stopBackupAnswer;
    }
    bool confirmClearHistory(QWidget*) override {
        asked.push_back("clear history");
        ++clearHistoryQuestions;
        return clearHistoryAnswer;
    }
};

}  // namespace kestrix::views::testing

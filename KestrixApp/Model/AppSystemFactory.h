#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "KestrixApp/Model/AppSystem.h"
#include "KestrixKit/Holders/AppReach.h"
#include "KestrixKit/Text/Vocabulary.h"

namespace kestrix {

// Which system the app runs on, from its command line.
struct AppSystemChoice {
    std::optional<std::string> worldPath;
    bool demo = false;
    // Every call to the system, one line each on stderr.
    bool trace = false;
    // --history FILE; otherwise the user's own history on the real system and memory only on a
    // simulated one, so that trying a world never touches the real history.
    std::optional<std::string> historyPath;
    // On this machine: the desktop's disk service and app quitter, when the desktop has them.
    std::shared_ptr<DiskEjecting> desktopEjector;
    std::shared_ptr<HolderQuitting> desktopQuitter;
    std::function<std::optional<AppReach>(std::int32_t pid)> appReach;
};

struct AppBackend {
    AppSystem system;
    HistoryStore history;
    // Whose words the texts use: this machine's, or those the world chooses.
    Vocabulary vocabulary = Vocabulary::document;
};

// The system and history for the choice, or why the world could not be read.
std::variant<AppBackend, std::string> makeAppBackend(const AppSystemChoice& choice);

}  // namespace kestrix

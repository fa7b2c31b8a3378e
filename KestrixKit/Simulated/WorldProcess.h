#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "KestrixKit/Holders/AppIdentity.h"
#include "KestrixKit/Holders/ProcessBasics.h"
#include "KestrixKit/Holders/VnodeRef.h"
#include "KestrixKit/Simulated/QuitResponse.h"
#include "KestrixKit/Simulated/TermResponse.h"

namespace kestrix {

// One running process of a world, with the answers its process queries give.
struct WorldProcess {
    std::int32_t pid = 0;
    // Absent when the world marks the process's basics unreadable.
    std::optional<ProcessBasics> basics;
    // Absent when the descriptor list cannot be read.
    std::optional<std::vector<VnodeRef>> openFiles;
    std::optional<VnodeRef> currentFolder;
    std::optional<std::vector<VnodeRef>> mappedFiles;
    // Present when the process is a running application.
    std::optional<AppIdentity> app;
    QuitResponse onQuit = QuitResponse::exits;
    TermResponse onTerm = TermResponse::exits;
};

// The "processes" section; throws world::WorldFormatError on a wrongly typed key.
std::vector<WorldProcess> decodeWorldProcesses(const nlohmann::json& world);

}  // namespace kestrix

#include "KestrixKit/Simulated/WorldProcess.h"

#include <string>

#include "KestrixKit/Simulated/WorldFields.h"

namespace kestrix {

using namespace world;

namespace {

VnodeRef decodeReference(const nlohmann::json& value, const std::string& where) {
    const nlohmann::json& entry = object(value, where);
    return VnodeRef{.path = requiredString(entry, "path", where),
                    .device = optionalUInt32(entry, "device", where).value_or(0),
                    .writing = optionalBool(entry, "writing", where).value_or(false)};
}

// Missing or null: absent; otherwise every entry.
std::optional<std::vector<VnodeRef>> decodeReferences(const nlohmann::json& process, const char* key,
                                                      const std::string& where) {
    const auto found = process.find(key);
    if (found == process.end() || found->is_null()) return std::nullopt;
    const nlohmann::json& entries = optionalArray(process, key, where);
    std::vector<VnodeRef> references;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        references.push_back(decodeReference(entries[index], where + "." + key + "[" + std::to_string(index) + "]"));
    }
    return references;
}

std::optional<AppIdentity> decodeApp(const nlohmann::json& process, const std::string& where) {
    const auto found = process.find("app");
    if (found == process.end() || found->is_null()) return std::nullopt;
    const std::string place = where + ".app";
    const nlohmann::json& app = object(*found, place);
    return AppIdentity{.name = optionalString(app, "name", place).value_or(""),
                       .bundleID = optionalString(app, "bundleID", place),
                       .isRegular = optionalBool(app, "isRegular", place).value_or(false)};
}

WorldProcess decodeProcess(const nlohmann::json& value, const std::string& where) {
    const nlohmann::json& entry = object(value, where);
    WorldProcess process;
    const std::optional<std::int32_t> pid = optionalInt32(entry, "pid", where);
    if (!pid) throw WorldFormatError(where + ".pid: missing");
    process.pid = *pid;
    ProcessBasics basics{.pid = *pid,
                         .name = optionalString(entry, "name", where).value_or(""),
                         .executablePath = optionalString(entry, "executablePath", where),
                         .uid = optionalUInt32(entry, "uid", where).value_or(0),
                         .parentPID = optionalInt32(entry, "parentPID", where).value_or(0),
                         // A world that does not say gives every process the same start: its pids are never reused.
                         .startTime = optionalUInt64(entry, "startTime", where).value_or(0),
                         .job = optionalString(entry, "job", where)};
    if (!optionalBool(entry, "basicsUnreadable", where).value_or(false)) process.basics = std::move(basics);
    process.openFiles = decodeReferences(entry, "openFiles", where);
    if (const auto found = entry.find("currentFolder"); found != entry.end() && !found->is_null()) {
        process.currentFolder = decodeReference(*found, where + ".currentFolder");
    }
    process.mappedFiles = decodeReferences(entry, "mappedFiles", where);
    process.app = decodeApp(entry, where);
    process.onQuit = decodeQuitResponse(entry, where);
    process.onTerm = decodeTermResponse(entry, where);
    return process;
}

}  // namespace

std::vector<WorldProcess> decodeWorldProcesses(const nlohmann::json& worldObject) {
    std::vector<WorldProcess> processes;
    const nlohmann::json& entries = optionalArray(worldObject, "processes", "world");
    for (std::size_t index = 0; index < entries.size(); ++index) {
        processes.push_back(decodeProcess(entries[index], "processes[" + std::to_string(index) + "]"));
    }
    return processes;
}

}  // namespace kestrix

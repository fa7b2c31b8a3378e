#include "KestrixKit/Simulated/World.h"

#include <fstream>
#include <iterator>

#include "KestrixKit/Simulated/DemoWorldText.h"
#include "KestrixKit/Simulated/WorldFields.h"

namespace kestrix {

WorldLoadResult parseWorld(std::string_view text) {
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded()) return WorldError{"the world file is not valid JSON"};
    try {
        const nlohmann::json& root = world::object(json, "world");
        World world;
        world.volumes = decodeWorldVolumes(root);
        world.processes = decodeWorldProcesses(root);
        world.currentUID = world::optionalUInt32(root, "currentUID", "world").value_or(501);
        world.ownPID = world::optionalInt32(root, "ownPID", "world");
        world.ejector = decodeWorldEjector(root);
        world.timeMachine = decodeWorldTimeMachine(root);
        return world;
    } catch (const world::WorldFormatError& error) {
        return WorldError{error.what()};
    }
}

WorldLoadResult loadWorld(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return WorldError{"cannot read the world file " + path};
    const std::string contents{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) return WorldError{"cannot read the world file " + path};
    WorldLoadResult result = parseWorld(contents);
    if (auto* error = std::get_if<WorldError>(&result)) error->message = path + ": " + error->message;
    return result;
}

World demoWorld() {
    // The built-in text is tested to load, so the error branch cannot be taken.
    WorldLoadResult result = parseWorld(demoWorldText);
    return std::get<World>(std::move(result));
}

}  // namespace kestrix

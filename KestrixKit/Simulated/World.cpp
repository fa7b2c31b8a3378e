#include "KestrixKit/Simulated/World.h"

#include "KestrixKit/Coding/JSONText.h"
#include "FileSupport/RegularFile.h"
#include "KestrixKit/Simulated/DemoWorldText.h"
#include "KestrixKit/Simulated/WorldFields.h"

namespace kestrix {
namespace {

// Room for a few hundred thousand processes; a larger file is not read into memory.
constexpr std::size_t largestWorldFile = 256 * 1024 * 1024;

Vocabulary decodeWords(const nlohmann::json& root) {
    const std::optional<std::string> words = world::optionalString(root, "words", "world");
    if (!words || *words == "document") return Vocabulary::document;
    if (*words == "linux") return Vocabulary::linuxSystem;
    throw world::WorldFormatError("words: \"" + *words + "\" is neither \"document\" nor \"linux\"");
}

}  // namespace

WorldLoadResult parseWorld(std::string_view text) {
    const nlohmann::json json = coding::parseWholeJSON(text);
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
        world.words = decodeWords(root);
        return world;
    } catch (const world::WorldFormatError& error) {
        return WorldError{error.what()};
    }
}

WorldLoadResult loadWorld(const std::string& path) {
    auto contents = filesupport::readRegularFile(path, largestWorldFile);
    if (auto* error = std::get_if<filesupport::FileReadError>(&contents)) return WorldError{error->message};
    WorldLoadResult result = parseWorld(std::get<std::string>(contents));
    if (auto* error = std::get_if<WorldError>(&result)) error->message = path + ": " + error->message;
    return result;
}

World demoWorld() {
    // The built-in text is tested to load, so the error branch cannot be taken.
    WorldLoadResult result = parseWorld(demoWorldText);
    return std::get<World>(std::move(result));
}

}  // namespace kestrix

#include "KestrixKit/Automation/URLCommandCoding.h"

#include <nlohmann/json.hpp>

namespace kestrix {

namespace {

struct CommandJson {
    nlohmann::json operator()(const URLCommand::Eject& eject) const {
        return {{"command", "eject"}, {"drive", eject.drive}};
    }
    nlohmann::json operator()(const URLCommand::Check& check) const {
        return {{"command", "check"}, {"drive", check.drive}};
    }
    nlohmann::json operator()(const URLCommand::EjectAll&) const { return {{"command", "ejectAll"}}; }
    nlohmann::json operator()(const URLCommand::Open&) const { return {{"command", "open"}}; }
};

}  // namespace

void to_json(nlohmann::json& json, const URLCommand& command) { json = std::visit(CommandJson{}, command.command); }

}  // namespace kestrix

#include <nlohmann/json.hpp>

#include "KestrixKit/Automation/URLCommand.h"
#include "KestrixKit/Automation/URLCommandCoding.h"
#include "kestrixctl/Commands/Commands.h"

namespace kestrixctl {

int runUrl(const Invocation& invocation) {
    const auto& words = invocation.options.commandWords;
    if (words.size() != 1) return usageError(invocation, "url takes one link");
    const auto command = kestrix::URLCommand::parse(words.front());
    // The drive name comes from outside; dump() replaces bytes that are not UTF-8.
    const nlohmann::json json = command ? nlohmann::json(*command) : nlohmann::json(nullptr);
    invocation.out << json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return command ? exitSuccess : exitNotDone;
}

}  // namespace kestrixctl

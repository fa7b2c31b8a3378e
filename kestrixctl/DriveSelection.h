#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "KestrixKit/Volumes/Drive.h"
#include "kestrixctl/CommandArguments.h"
#include "kestrixctl/Invocation.h"

namespace kestrixctl {

// A command grammar with the listing flags (--show-disk-images, --show-network-shares) added.
CommandGrammar driveListingGrammar(std::initializer_list<std::string> flags, std::size_t positionals,
                                   std::initializer_list<std::string> valuedOptions = {});

// The drives listed with the filter the arguments ask for.
std::vector<kestrix::Drive> listDrives(kestrix::SystemContext& system, const CommandArguments& arguments);

// The first listed drive that the name designates; otherwise the "No drive named …" message
// has been written to stderr.
std::optional<kestrix::Drive> findDrive(const Invocation& invocation, const CommandArguments& arguments,
                                        const std::string& name);

}  // namespace kestrixctl

#pragma once

#include <filesystem>
#include <string>

#include "KestrixKit/Linux/Ejecting/EjectTargetFacts.h"

namespace kestrix {

// The facts about the block device of this kernel name under <sysfsRoot>/class/block.
EjectTargetFacts readEjectTargetFacts(const std::filesystem::path& sysfsRoot, const std::string& kernelName);

}  // namespace kestrix

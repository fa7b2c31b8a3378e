#pragma once

#include <functional>
#include <string>

struct libmnt_fs;

namespace kestrix {

// Walks a mountinfo file through libmount, one visit per mount in table order. A malformed
// line costs that line only. False when the file cannot be read at all.
bool forEachMount(const std::string& mountInfoPath, const std::function<void(libmnt_fs*)>& visit);

}  // namespace kestrix

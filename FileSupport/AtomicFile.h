#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace filesupport {

// The step that puts the finished temporary file in place of the target; rename(2) by default.
using ReplaceFile = std::function<int(const char* temporaryPath, const char* targetPath)>;

// Writes the whole file or nothing: the folder is created when missing, the bytes go to a
// temporary file in the same folder, are flushed to disk and the file is renamed over the
// target, so a crash or a full disk never leaves a half-written file. Returns the failure,
// with the target left as it was. A target that is not a regular file (a device, FIFO or folder)
// is refused, never replaced.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes,
                                               const ReplaceFile& replace = {});

// Removes the temporary files that writes of this file were killed in the middle of. Only safe
// while no other process can be writing the file, such as under the file's lock.
void removeLeftoverTemporaries(const std::string& path);

}  // namespace filesupport

#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// udev's encoded property values (ID_FS_LABEL_ENC, ID_MODEL_ENC) with every "\xNN" turned back
// into its byte, so labels and models keep their blanks and non-ASCII letters.
std::string decodedUdevText(std::string_view encoded);

}  // namespace kestrix

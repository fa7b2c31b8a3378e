#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace moreapps {

// The cache folder's files, as the loader needs them.
class MoreAppsFileStore {
public:
    virtual ~MoreAppsFileStore() = default;

    // At most `maxBytes` bytes of the file; nothing when it is missing or unreadable.
    virtual std::optional<std::string> read(const std::filesystem::path& file, std::size_t maxBytes) const = 0;

    // Replaces the file in one step, creating its folder and the folders above when
    // needed, so a reader sees the old or the new content and never a mix.
    virtual bool writeAtomically(const std::filesystem::path& file, std::string_view data) = 0;
};

}  // namespace moreapps

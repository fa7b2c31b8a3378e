#pragma once

#include "MoreAppsKit/MoreAppsFileStore.h"

namespace moreapps {

// The cache files on the local disk; writes go to a temporary file that is renamed into place.
class LocalFileStore final : public MoreAppsFileStore {
public:
    std::optional<std::string> read(const std::filesystem::path& file, std::size_t maxBytes) const override;
    bool writeAtomically(const std::filesystem::path& file, std::string_view data) override;
};

}  // namespace moreapps

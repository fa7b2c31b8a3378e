#include "KestrixKit/Holders/Holder.h"

#include <algorithm>

namespace kestrix {

bool Holder::isWriting() const {
    return std::any_of(holds.begin(), holds.end(), [](const Hold& hold) { return hold.writing; });
}

std::optional<std::string> Holder::mainPath() const {
    const auto openFile = std::find_if(holds.begin(), holds.end(),
                                       [](const Hold& hold) { return hold.kind == HoldKind::openFile; });
    if (openFile != holds.end()) return openFile->path;
    if (!holds.empty()) return holds.front().path;
    return std::nullopt;
}

}  // namespace kestrix

#pragma once

#include <QString>
#include <string_view>

namespace kestrix::views {

// Text for a label, with the characters that could disguise it made visible: process and drive
// names come from outside, and a line break, a control character or a direction override in
// one must not rearrange what the user reads. Invalid bytes are written out too.
QString shownText(std::string_view utf8);

}  // namespace kestrix::views

#pragma once

#include <cstddef>
#include <string>

namespace kestrix::shell {

// How many words a standard option of the toolkit takes at the start of the command line's
// word (such as `-style Fusion`, `-style=Fusion`, `--reverse`): 1 or 2; 0 for a word that is
// no such option. The toolkit reads them itself when it starts.
std::size_t qtOptionWords(const std::string& word);

}  // namespace kestrix::shell

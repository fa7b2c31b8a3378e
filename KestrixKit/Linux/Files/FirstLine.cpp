#include "KestrixKit/Linux/Files/FirstLine.h"

#include <fstream>

namespace kestrix {

std::string readFirstLine(const std::filesystem::path& file) {
    std::ifstream stream(file);
    std::string line;
    std::getline(stream, line);
    return line;
}

}  // namespace kestrix

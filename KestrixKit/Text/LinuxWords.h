#pragma once

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

// A real Linux system's wording of the base texts that name the other system's programs,
// services or keys. Each keeps its sentence's structure and placeholders.
namespace kestrix::LinuxWords {

// The Linux wording of a base text, absent when the base text already fits.
std::optional<std::string_view> wording(std::string_view baseText);

// Every base text with its Linux wording.
const std::vector<std::pair<std::string_view, std::string_view>>& all();

}  // namespace kestrix::LinuxWords

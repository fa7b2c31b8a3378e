#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/ScanResult.h"

namespace kestrixctl {

// A holder as the drive card's row shows it: the title line, the description, the first hold
// line, the advice and the offered actions in words, for the given user.
void writeHolderRow(std::ostream& out, const kestrix::Holder& holder, std::uint32_t currentUID);

// The holder's coded form plus the texts the row shows and the offered actions' raw values.
nlohmann::json holderJSON(const kestrix::Holder& holder, std::uint32_t currentUID);
// The scan's coded form with every holder as holderJSON gives it.
nlohmann::json scanJSON(const kestrix::ScanResult& scan, std::uint32_t currentUID);

}  // namespace kestrixctl

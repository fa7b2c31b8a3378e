#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/KernelHolder.h"
#include "KestrixKit/Holders/ScanResult.h"

namespace kestrixctl {

// A holder as the drive card's row shows it: the title line, the description, the first hold
// line, the advice and the offered actions in words, for the given user.
void writeHolderRow(std::ostream& out, const kestrix::Holder& holder, std::uint32_t currentUID);

// What the kernel holds a drive with, as a row: its kind and name, what it is, what to do.
void writeKernelHolderRow(std::ostream& out, const kestrix::KernelHolder& holder);

// The holder's coded form plus the texts the row shows and the offered actions' raw values.
nlohmann::json holderJSON(const kestrix::Holder& holder, std::uint32_t currentUID);
// The kernel holder's coded form plus the texts its row shows.
nlohmann::json kernelHolderJSON(const kestrix::KernelHolder& holder);
// The scan's coded form with every holder as holderJSON and kernelHolderJSON give it.
nlohmann::json scanJSON(const kestrix::ScanResult& scan, std::uint32_t currentUID);

}  // namespace kestrixctl

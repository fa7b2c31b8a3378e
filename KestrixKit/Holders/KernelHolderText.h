#pragma once

#include <string>

#include "KestrixKit/Holders/KernelHolder.h"

// The words for what the kernel keeps a drive busy with, as a holder row and a report show them.
namespace kestrix::KernelHolderText {

// What it is: "Disk image", "Swap", …
std::string label(KernelHoldKind kind);
// What keeps the drive busy, in one sentence.
std::string description(const KernelHolder& holder);
// What the user can do about it.
std::string advice(const KernelHolder& holder);
// How a sentence that lists what holds a drive names it: "the disk image kha.img".
std::string listedName(const KernelHolder& holder);

}  // namespace kestrix::KernelHolderText

#pragma once

#include <optional>
#include <string>

#include "KestrixKit/Holders/KernelHolder.h"
#include "KestrixKit/Holders/KernelRemedy.h"

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
// The button of a remedy the app offers itself (see kernelRemedy): "Detach kha.img".
std::string remedyTitle(const KernelHolder& holder, KernelRemedy remedy);
// Why a remedy did nothing, with the system's words when it gave any.
std::string remedyRefused(const KernelHolder& holder, KernelRemedy remedy, const std::optional<std::string>& message);

}  // namespace kestrix::KernelHolderText

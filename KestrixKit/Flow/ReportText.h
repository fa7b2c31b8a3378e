#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "KestrixKit/Flow/DriveReport.h"
#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/KernelHolder.h"

// The sentences that tell the user how an eject went.
namespace kestrix::ReportText {

// One sentence about the report's verdict, naming the drive.
std::string message(const DriveReport& report);
// The first three distinct holder names as a list ("A, B and C"), with " and others" after
// them when there were more than three holders.
std::string holderNames(const std::vector<Holder>& holders);
// The same list, the kernel's holders after the processes.
std::string holderNames(const std::vector<Holder>& holders, const std::vector<KernelHolder>& kernelHolders);
// Of the holders still there after Quit and Eject, the apps, which may be asking to save.
std::vector<Holder> stillOpenApps(const std::vector<Holder>& holders);
// One sentence for each other program still there, naming it and what to do about it.
std::vector<std::string> stillRunningPrograms(const std::vector<Holder>& holders);
// Why the disk service refused, in words where there are any, else the code in hexadecimal.
std::string failureReason(std::int32_t status);
// Why the eject failed: on the real Linux system the system's own message when it gave one,
// else the status in words or hexadecimal.
std::string failureReason(const DriveVerdict::Failed& failed);
// How many drives were ejected, then the sentence of each one that was not.
std::string ejectAllSummary(const std::vector<DriveReport>& reports);

}  // namespace kestrix::ReportText

#pragma once

#include <optional>
#include <string>

#include "KestrixKit/TimeMachine/TimeMachineStatus.h"

// The sentences about a running backup, naming the Linux tool that runs it where one does.
namespace kestrix::BackupTexts {

// What an eject that met the backup says.
std::string report(const TimeMachineStatus& backup, const std::string& driveName);

// What the drive card says the backup is doing, with how far along it is when known.
std::string backingUp(const TimeMachineStatus& backup, std::optional<int> percentDone);

// What the user can do: wait or stop it, or, for a backup Kestrix can't stop, how to stop it in
// its own tool.
std::string advice(const TimeMachineStatus& backup);

// The note after Kestrix asked the tool to stop the backup, and after it could not.
std::string stopping(const TimeMachineStatus& backup);
std::string notStopped(const TimeMachineStatus& backup);

// The backup as a culprit in the history: its tool's name, else the backup service's label.
std::string culpritName(const TimeMachineStatus& backup);

}  // namespace kestrix::BackupTexts

#pragma once

#include <cstdint>
#include <vector>

#include "KestrixKit/Holders/EndSignal.h"
#include "KestrixKit/Holders/Holder.h"
#include "KestrixKit/Holders/HolderAction.h"

// Which remedies may be offered for a holder: nothing that belongs to another user, that the
// system runs for itself or that keeps the desktop alive is ever quit or ended.
namespace kestrix::HolderPolicy {

bool isProtected(const Holder& holder, std::uint32_t currentUID);
std::vector<HolderAction> actions(const Holder& holder, std::uint32_t currentUID);
// Whether the process may be ended when the user names it (kestrixctl's --end PID): whatever
// is offered endProcess and, for root, another user's process that its owner is offered to end.
bool mayEndWhenAsked(const Holder& holder, std::uint32_t currentUID);
// Whether "Stop NAME" starts ticked: only for a program that loses no work when it ends. Never
// for an app or a process of one, a program writing to the drive, an editor, or a shell that is
// running a job.
bool endsByDefault(const Holder& holder);
// The signal that ends the holder's program: the hang-up for a shell, which ignores the other.
EndSignal endSignal(const Holder& holder);

}  // namespace kestrix::HolderPolicy

#include "KestrixApp/Model/Busy.h"

#include "KestrixKit/Text/Localized.h"

namespace kestrix {

std::string label(Busy busy) {
    switch (busy) {
        case Busy::checking: return localized("Checking…");
        case Busy::ejecting: return localized("Ejecting…");
        case Busy::quitting: return localized("Asking apps to quit…");
        case Busy::waitingForBackup: return localized("Waiting for Time Machine…");
        case Busy::stoppingBackup: return localized("Stopping the backup…");
        case Busy::releasing: return localized("Freeing the drive…");
    }
    return {};
}

}  // namespace kestrix

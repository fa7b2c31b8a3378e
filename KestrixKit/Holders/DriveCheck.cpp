#include "KestrixKit/Holders/DriveCheck.h"

namespace kestrix {

ScanResult checkDrive(const HolderScanner& scanner, const Drive& drive) {
    ScanResult quick = scanner.scan(drive, false);
    if (!quick.holders.empty()) return quick;
    return scanner.scan(drive, true);
}

}  // namespace kestrix

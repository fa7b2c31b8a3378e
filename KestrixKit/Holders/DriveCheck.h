#pragma once

#include "KestrixKit/Holders/HolderScanner.h"
#include "KestrixKit/Holders/ScanResult.h"
#include "KestrixKit/Volumes/Drive.h"

namespace kestrix {

// What holds a drive: the quick scan, and the deep one when the quick one finds nothing.
ScanResult checkDrive(const HolderScanner& scanner, const Drive& drive);

}  // namespace kestrix

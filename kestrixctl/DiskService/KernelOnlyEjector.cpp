#include "kestrixctl/DiskService/DiskServiceEjector.h"

namespace kestrixctl {

// Built without Qt's D-Bus: the kernel's calls eject.
std::shared_ptr<kestrix::DiskEjecting> diskServiceEjector(PasswordPrompt&) { return nullptr; }

}  // namespace kestrixctl

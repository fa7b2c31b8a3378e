#include "KestrixKit/Linux/Files/RandomUuid.h"

#include <sys/random.h>

#include <cerrno>
#include <random>

namespace kestrix {

Uuid randomUuid() {
    std::array<std::uint8_t, 16> bytes{};
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got > 0) {
            filled += static_cast<std::size_t>(got);
        } else if (got < 0 && errno != EINTR) {
            break;
        }
    }
    // Without getrandom (an old kernel, a seccomp filter) the standard library's source still
    // gives identifiers that do not repeat in practice.
    if (filled < bytes.size()) {
        std::random_device device;
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(device());
    }
    return Uuid::version4(bytes);
}

}  // namespace kestrix

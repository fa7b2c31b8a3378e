#include "KestrixKit/Tests/Support/ScopedMount.h"

#include <sys/mount.h>

#include <filesystem>
#include <random>

namespace kestrix::test {

ScopedMount::ScopedMount(const std::string& source, std::string folder, const std::string& type, unsigned long flags)
    : folder_(std::move(folder)) {
    std::error_code error;
    madeFolder_ = std::filesystem::create_directory(folder_, error);
    mounted_ = ::mount(source.c_str(), folder_.c_str(), type.empty() ? nullptr : type.c_str(), flags, nullptr) == 0;
}

ScopedMount::~ScopedMount() {
    // Lazily when busy, so that the drives beneath can still go.
    if (mounted_ && umount2(folder_.c_str(), 0) != 0) umount2(folder_.c_str(), MNT_DETACH);
    std::error_code error;
    // Never recursive: a folder on a drive keeps whatever is in it.
    if (madeFolder_) std::filesystem::remove(folder_, error);
}

std::string uniqueMediaFolder(const std::string& prefix) {
    std::random_device random;
    return "/media/" + prefix + "-" + std::to_string(std::uniform_int_distribution<unsigned>(100000, 999999)(random));
}

}  // namespace kestrix::test

#pragma once

#include <string>

namespace kestrix::test {

// A mount a test adds (a tmpfs, a bind mount, a device mounted a second time), undone when it goes,
// before the drives it lies in or over are taken down. The folder is made when missing and
// removed again if it was made here.
class ScopedMount {
public:
    ScopedMount(const std::string& source, std::string folder, const std::string& type, unsigned long flags = 0);
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;
    ~ScopedMount();

    bool isMounted() const { return mounted_; }
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    bool madeFolder_ = false;
    bool mounted_ = false;
};

// A folder name under /media that no other run uses: /media/<prefix>-N.
std::string uniqueMediaFolder(const std::string& prefix);

}  // namespace kestrix::test

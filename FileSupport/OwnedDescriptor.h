#pragma once

#include <unistd.h>

namespace filesupport {

// A file descriptor closed once, when it goes out of scope or is closed early.
class OwnedDescriptor {
public:
    explicit OwnedDescriptor(int descriptor = -1) : descriptor_(descriptor) {}
    OwnedDescriptor(const OwnedDescriptor&) = delete;
    OwnedDescriptor& operator=(const OwnedDescriptor&) = delete;
    ~OwnedDescriptor() { close(); }

    int get() const { return descriptor_; }
    bool valid() const { return descriptor_ >= 0; }
    void close() {
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = -1;
    }

private:
    int descriptor_;
};

}  // namespace filesupport

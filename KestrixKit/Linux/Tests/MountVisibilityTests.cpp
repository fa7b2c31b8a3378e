#include <gtest/gtest.h>

#include "KestrixKit/Linux/Mounts/MountVisibility.h"

using namespace kestrix;

namespace {

MountEntry mount(std::uint64_t id, std::uint64_t parentId, std::string point) {
    return {.id = id, .parentId = parentId, .mountPoint = std::move(point)};
}

std::vector<std::uint64_t> ids(const std::vector<MountEntry>& mounts) {
    std::vector<std::uint64_t> result;
    for (const MountEntry& entry : mounts) result.push_back(entry.id);
    return result;
}

}  // namespace

TEST(MountVisibility, ACoveringMountHidesTheCoveredOneAndWhatLayInsideIt) {
    const std::vector<MountEntry> mounts = {
        mount(26, 1, "/"),                       // its parent lies outside this view
        mount(30, 26, "/media/me/Stick"),        // covered by 33
        mount(31, 30, "/media/me/Stick/inner"),  // inside the covered mount: out of reach
        mount(32, 26, "/media/me/Card"),
        mount(33, 30, "/media/me/Stick"),        // another drive mounted over the stick, covered by 35
        mount(34, 33, "/media/me/Stick/new"),    // inside a covered mount again: out of reach
        mount(35, 33, "/media/me/Stick"),        // a tmpfs over that
        mount(36, 32, "/media/me/Card/x"),
        mount(37, 35, "/media/me/Stick/top"),    // inside the mount on top: reachable
    };
    EXPECT_EQ(ids(visibleMounts(mounts)), (std::vector<std::uint64_t>{26, 32, 35, 36, 37}));

    // A damaged table whose parents form a cycle still ends, with nothing reachable through it.
    EXPECT_EQ(ids(visibleMounts({mount(5, 6, "/a"), mount(6, 5, "/b"), mount(7, 7, "/")})),
              (std::vector<std::uint64_t>{7}));
}

#include <gtest/gtest.h>

#include "KestrixKit/Volumes/VolumeRules.h"

using namespace kestrix;

namespace {

VolumeFacts external(std::string path = "/Volumes/Stick") {
    return VolumeFacts{.path = std::move(path), .isEjectable = true, .isRemovable = true};
}

std::optional<VolumeKind> kindWith(std::optional<std::string> model, std::optional<std::string> protocol,
                                   std::optional<std::string> media = std::nullopt) {
    VolumeFacts facts = external();
    facts.deviceModel = std::move(model);
    facts.deviceProtocol = std::move(protocol);
    facts.mediaKind = std::move(media);
    return VolumeRules::kind(facts, false);
}

}  // namespace

TEST(VolumeRules, OnlyRemovableMediaMountPointsAreListedUnlessAnyIsAllowed) {
    EXPECT_EQ(VolumeRules::kind(external("/Volumes/Stick"), false), VolumeKind::externalDrive);
    EXPECT_EQ(VolumeRules::kind(external("/media/me/Stick"), false), VolumeKind::externalDrive);
    EXPECT_EQ(VolumeRules::kind(external("/run/media/me/Stick"), false), VolumeKind::externalDrive);
    EXPECT_EQ(VolumeRules::kind(external("/mnt/stick"), false), std::nullopt);
    EXPECT_EQ(VolumeRules::kind(external("/mediastick"), false), std::nullopt);
    EXPECT_EQ(VolumeRules::kind(external("/mnt/stick"), true), VolumeKind::externalDrive);
    EXPECT_EQ(VolumeRules::kind(external("/"), true), std::nullopt);
    VolumeFacts root = external();
    root.isRoot = true;
    EXPECT_EQ(VolumeRules::kind(root, true), std::nullopt);
}

TEST(VolumeRules, NetworkShareIsRecognisedBeforeAnyDiskFact) {
    VolumeFacts share = external("/Volumes/Team");
    share.isLocal = false;
    share.isInternal = true;
    share.mediaKind = "IOCDMedia";
    EXPECT_EQ(VolumeRules::kind(share, false), VolumeKind::networkShare);
}

TEST(VolumeRules, DiskImagesAndOpticalDiscsEvenWhenInternal) {
    EXPECT_EQ(kindWith("Apple DISK IMAGE", std::nullopt), VolumeKind::diskImage);
    EXPECT_EQ(kindWith("Sparse Image", "Virtual Interface"), VolumeKind::diskImage);
    EXPECT_EQ(kindWith(std::nullopt, "Disk Image"), VolumeKind::diskImage);
    EXPECT_EQ(kindWith(std::nullopt, "Virtual Interface"), VolumeKind::externalDrive);
    for (const char* media : {"IOCDMedia", "IODVDMedia", "IOBDMedia"}) {
        VolumeFacts disc{.path = "/Volumes/Disc", .isInternal = true, .mediaKind = std::string(media)};
        EXPECT_EQ(VolumeRules::kind(disc, false), VolumeKind::optical) << media;
    }
}

TEST(VolumeRules, FixedInternalDiskIsHiddenBeforeMemoryCardRules) {
    VolumeFacts slot{.path = "/Volumes/Card", .isInternal = true, .deviceProtocol = "Secure Digital"};
    EXPECT_EQ(VolumeRules::kind(slot, false), std::nullopt);
    slot.isRemovable = true;
    EXPECT_EQ(VolumeRules::kind(slot, false), VolumeKind::memoryCard);
    VolumeFacts fixed{.path = "/Volumes/Data", .isInternal = true};
    EXPECT_EQ(VolumeRules::kind(fixed, false), std::nullopt);
    fixed.isInternal = false;
    EXPECT_EQ(VolumeRules::kind(fixed, false), VolumeKind::externalDrive);
}

TEST(VolumeRules, MemoryCardsByProtocolOrModel) {
    EXPECT_EQ(kindWith(std::nullopt, "sd"), VolumeKind::memoryCard);
    EXPECT_EQ(kindWith(std::nullopt, "SDXC"), VolumeKind::externalDrive);
    EXPECT_EQ(kindWith(std::nullopt, "Secure Digital"), VolumeKind::memoryCard);
    EXPECT_EQ(kindWith("  Generic Card Reader\t", "USB"), VolumeKind::memoryCard);
    EXPECT_EQ(kindWith("Transcend SD Card", "USB"), VolumeKind::memoryCard);
    EXPECT_EQ(kindWith("Cruzer Blade", "USB"), VolumeKind::externalDrive);
}

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "KestrixKit/Flow/ReportText.h"
#include "KestrixKit/Holders/HolderCoding.h"
#include "KestrixKit/Holders/KernelHolderCoding.h"
#include "KestrixKit/Holders/KernelHolderText.h"

using namespace kestrix;

namespace {

DriveReport reportOn(DriveVerdict verdict) {
    return DriveReport{.drive = Drive{"sdb", {DriveVolume{.name = "KHA", .mountPath = "/media/KHA"}}},
                       .verdict = std::move(verdict)};
}

const KernelHolder image{.kind = KernelHoldKind::diskImage, .name = "/media/KHA/disk.img", .device = "/dev/loop7"};
const KernelHolder swapFile{.kind = KernelHoldKind::swapArea, .name = "/media/KHA/swapfile"};
const KernelHolder inner{.kind = KernelHoldKind::innerMount, .name = "INNER", .device = "/dev/loop8",
                         .mountPath = "/media/KHA/inner"};
const KernelHolder sandbox{.kind = KernelHoldKind::mountNamespace, .name = "sleep", .mountPath = "/media/KHA", .pid = 77};
const KernelHolder mapped{.kind = KernelHoldKind::stackedDevice, .name = "vault", .device = "/dev/dm-2"};

}  // namespace

TEST(KernelHolders, EachKindIsNamedInTheRefusalWithItsOwnRemedy) {
    struct Case {
        KernelHolder holder;
        std::string refusal;
        std::string advice;
    };
    KernelHolder mountedImage = image;
    mountedImage.mountPath = "/media/DISK";
    KernelHolder service = sandbox;
    service.unit = "colord.service";
    KernelHolder container = sandbox;
    container.container = "4f2a9c1be0d3";
    const std::vector<Case> cases{
        {image, "KHA is in use by the disk image disk.img.", "Detach disk.img first (udisksctl loop-delete -b /dev/loop7)."},
        {mountedImage, "KHA is in use by the disk image disk.img.", "Eject disk.img first."},
        {swapFile, "KHA is in use by swap on swapfile.", "Stop swap on it first (swapoff /media/KHA/swapfile, as an administrator)."},
        {inner, "KHA is in use by INNER.", "Eject INNER first."},
        {sandbox, "KHA is in use by sleep.", "Quit sleep."},
        {service, "KHA is in use by sleep.", "Restart colord.service (systemctl restart colord.service, as an administrator)."},
        {container, "KHA is in use by sleep.", "Stop the container 4f2a9c1be0d3."},
        {mapped, "KHA is in use by vault.", "Remove vault first (dmsetup remove vault, as an administrator)."},
    };
    for (const Case& test : cases) {
        const DriveReport report = reportOn({DriveVerdict::InUse{{}, {}, {test.holder}}});
        EXPECT_EQ(ReportText::message(report), test.refusal);
        EXPECT_EQ(KernelHolderText::advice(test.holder), test.advice);
        EXPECT_FALSE(KernelHolderText::description(test.holder).empty());
    }
    // Processes come first, then the kernel's holders, in one list.
    const Holder less{.pid = 5, .name = "less"};
    EXPECT_EQ(ReportText::message(reportOn({DriveVerdict::InUse{{less}, {}, {image, inner}}})),
              "KHA is in use by less, the disk image disk.img and INNER.");
}

TEST(KernelHolders, ADetachedDriveNamesWhatOfTheKernelStillHoldsIt) {
    EXPECT_EQ(ReportText::message(reportOn({DriveVerdict::Detached{{}, {sandbox}}})),
              "KHA is detached. It becomes safe to unplug when sleep lets go of it.");
    EXPECT_EQ(ReportText::message(reportOn({DriveVerdict::Detached{{Holder{.pid = 5, .name = "less"}}, {sandbox}}})),
              "KHA is detached. It becomes safe to unplug when less closes its file.");
}

TEST(KernelHolders, CodedFormsRoundTripAndOlderScansHaveNone) {
    KernelHolder full = sandbox;
    full.unit = "colord.service";
    for (const KernelHolder& holder : {image, swapFile, inner, mapped, full}) {
        EXPECT_EQ(nlohmann::json(holder).get<KernelHolder>(), holder);
    }
    EXPECT_EQ(nlohmann::json(image).at("kind"), "diskImage");
    EXPECT_EQ(nlohmann::json(swapFile).at("kind"), "swap");
    EXPECT_THROW((nlohmann::json{{"kind", "ghost"}, {"name", "x"}}.get<KernelHolder>()), nlohmann::json::exception);

    const ScanResult scan{.checked = 3, .kernelHolders = {image}};
    EXPECT_EQ(nlohmann::json(scan).get<ScanResult>(), scan);
    nlohmann::json older = scan;
    older.erase("kernelHolders");
    EXPECT_TRUE(older.get<ScanResult>().kernelHolders.empty());
}

#include <gtest/gtest.h>

#include <map>

#include "KestrixKit/Holders/DisplayName.h"
#include "KestrixKit/Holders/DriveCheck.h"
#include "KestrixKit/Holders/HolderScanner.h"

using namespace kestrix;

namespace {

struct FakeProcess {
    std::optional<ProcessBasics> basics;
    std::optional<std::vector<VnodeRef>> openFiles = std::vector<VnodeRef>{};
    std::optional<VnodeRef> currentFolder;
    std::optional<std::vector<VnodeRef>> mappedFiles;
};

// Processes in pid order; counts the queries made.
struct FakeSource : ProcessSource {
    std::map<std::int32_t, FakeProcess> processes;
    mutable int mappedQueries = 0;
    // The answers to mountedPart, one per call; the drive as given once they run out.
    mutable std::vector<DriveScope> mountedParts;

    std::vector<std::int32_t> allPIDs() const override {
        std::vector<std::int32_t> pids;
        for (const auto& entry : processes) pids.push_back(entry.first);
        return pids;
    }
    std::optional<ProcessBasics> basics(std::int32_t pid) const override {
        return processes.contains(pid) ? processes.at(pid).basics : std::nullopt;
    }
    std::optional<std::vector<VnodeRef>> openFiles(std::int32_t pid) const override {
        return processes.contains(pid) ? processes.at(pid).openFiles : std::nullopt;
    }
    std::optional<VnodeRef> currentFolder(std::int32_t pid) const override {
        return processes.contains(pid) ? processes.at(pid).currentFolder : std::nullopt;
    }
    DriveScope mountedPart(const DriveScope& drive) const override {
        if (mountedParts.empty()) return drive;
        DriveScope answer = mountedParts.front();
        mountedParts.erase(mountedParts.begin());
        return answer;
    }
    std::optional<std::vector<VnodeRef>> mappedFiles(std::int32_t pid) const override {
        ++mappedQueries;
        return processes.contains(pid) ? processes.at(pid).mappedFiles : std::nullopt;
    }
};

// A source that knows each process's mount namespace (0: closed to the scan), and tells it
// only when asked.
struct NamespacedSource : FakeSource {
    std::map<std::int32_t, std::uint64_t> namespaces;
    mutable std::vector<bool> asked;

    std::vector<std::optional<DriveReferences>> referencesOfEach(const std::vector<std::int32_t>& pids,
                                                                const DriveScope& drive, bool deep,
                                                                bool mountNamespaces) const override {
        asked.push_back(mountNamespaces);
        auto all = FakeSource::referencesOfEach(pids, drive, deep, mountNamespaces);
        for (std::size_t index = 0; mountNamespaces && index < pids.size(); ++index) {
            if (!all[index] || !namespaces.contains(pids[index])) continue;
            const std::uint64_t space = namespaces.at(pids[index]);
            all[index]->mountNamespace = space ? std::optional<std::uint64_t>(space) : std::nullopt;
            all[index]->mountNamespaceClosed = space == 0;
        }
        return all;
    }
};

// Records the namespaces it is handed; finds nothing but a number of hidden ones.
struct RecordingKernel : KernelHolderSource {
    int hidden = 0;
    mutable std::vector<std::optional<MountNamespaces>> handed;
    KernelScan holders(const Drive&, const std::optional<MountNamespaces>& namespaces) const override {
        handed.push_back(namespaces);
        return {.holders = {}, .hidden = hidden};
    }
};

ProcessBasics basics(std::int32_t pid, std::string name, std::optional<std::string> path = std::nullopt) {
    return ProcessBasics{.pid = pid, .name = std::move(name), .executablePath = std::move(path), .uid = 501};
}

const std::set<std::uint32_t> dataDevice{7};
const std::vector<std::string> dataMount{"/Volumes/Data"};

HolderScanner scannerOver(std::shared_ptr<FakeSource> source,
                          std::function<std::optional<AppIdentity>(std::int32_t)> lookup = {}) {
    double now = 10;
    return HolderScanner{.source = std::move(source), .ownPID = 900, .appLookup = std::move(lookup),
                         .clock = [now]() mutable { return now += 0.25; }};
}

}  // namespace

TEST(HolderScanner, MatchesByDeviceOrPath) {
    EXPECT_TRUE(HolderScanner::isUnder("/Volumes/Data", dataMount));
    EXPECT_TRUE(HolderScanner::isUnder("/Volumes/Data/x.txt", dataMount));
    EXPECT_FALSE(HolderScanner::isUnder("/Volumes/Data2/x.txt", dataMount));
    EXPECT_TRUE(HolderScanner::isUnder("/Volumes/Data/x.txt", {"/Volumes/Data/"}));
    EXPECT_FALSE(HolderScanner::isUnder("/volumes/data/x.txt", dataMount));
    EXPECT_FALSE(HolderScanner::isUnder("/x", {}));

    auto source = std::make_shared<FakeSource>();
    source->processes[10] = {.basics = basics(10, "a"), .openFiles = std::vector<VnodeRef>{{"/elsewhere/f", 7, false}}};
    source->processes[11] = {.basics = basics(11, "b"), .openFiles = std::vector<VnodeRef>{{"/Volumes/Data/f", 0, false}}};
    source->processes[12] = {.basics = basics(12, "c"), .openFiles = std::vector<VnodeRef>{{"/Volumes/Data2/f", 9, false}}};
    const ScanResult result = scannerOver(source).scan(dataDevice, dataMount, false);
    ASSERT_EQ(result.holders.size(), 2u);
    EXPECT_EQ(result.holders[0].pid, 10);
    EXPECT_EQ(result.holders[1].pid, 11);

    // Without device numbers only the paths count, and a device of 0 matches nothing.
    const ScanResult byPath = scannerOver(source).scan({}, dataMount, false);
    ASSERT_EQ(byPath.holders.size(), 1u);
    EXPECT_EQ(byPath.holders[0].pid, 11);
    EXPECT_TRUE(scannerOver(source).scan({0}, {}, false).holders.empty());
}

TEST(HolderScanner, CollectsMergesAndCounts) {
    auto source = std::make_shared<FakeSource>();
    source->processes[20] = {
        .basics = basics(20, "tool", "/Volumes/Data/bin/tool"),
        .openFiles = std::vector<VnodeRef>{{"/Volumes/Data/a", 7, false}, {"/Volumes/Data/a", 7, true},
                                           {"/Volumes/Data/b", 7, false}},
        .currentFolder = VnodeRef{"/Volumes/Data", 7, false},
        .mappedFiles = std::vector<VnodeRef>{{"/Volumes/Data/a", 7, false}, {"/Volumes/Data/bin/tool", 7, false},
                                             {"/Volumes/Data/lib.so", 7, false}, {"/usr/lib/libc.so", 1, false}}};
    source->processes[21] = {.basics = basics(21, "idle")};                        // readable, nothing on the drive
    source->processes[22] = {.basics = basics(22, "root"), .openFiles = std::nullopt};  // closed to the scan
    source->processes[900] = {.basics = basics(900, "self"),
                              .openFiles = std::vector<VnodeRef>{{"/Volumes/Data/own", 7, true}}};

    const ScanResult quick = scannerOver(source).scan(dataDevice, dataMount, false);
    EXPECT_EQ(quick.checked, 2);
    EXPECT_EQ(quick.hidden, 1);
    EXPECT_FALSE(quick.deep);
    EXPECT_DOUBLE_EQ(quick.seconds, 0.25);
    EXPECT_EQ(source->mappedQueries, 0);
    ASSERT_EQ(quick.holders.size(), 1u);
    const Holder& tool = quick.holders[0];
    EXPECT_EQ(tool.holds, (std::vector<Hold>{{HoldKind::openFile, "/Volumes/Data/a", true},
                                             {HoldKind::openFile, "/Volumes/Data/b", false},
                                             {HoldKind::currentFolder, "/Volumes/Data", false},
                                             {HoldKind::runningFrom, "/Volumes/Data/bin/tool", false}}));
    EXPECT_TRUE(tool.isWriting());
    EXPECT_EQ(tool.mainPath(), "/Volumes/Data/a");
    EXPECT_EQ(tool.kind, HelperKind::commandLine);
    EXPECT_FALSE(tool.namedByMacOS);

    const ScanResult deep = scannerOver(source).scan(dataDevice, dataMount, true);
    EXPECT_TRUE(deep.deep);
    ASSERT_EQ(deep.holders.size(), 1u);
    ASSERT_EQ(deep.holders[0].holds.size(), 5u);
    EXPECT_EQ(deep.holders[0].holds[4], (Hold{HoldKind::mappedFile, "/Volumes/Data/lib.so", false}));
}

TEST(HolderScanner, RunningFromUsesThePathRuleOnly) {
    auto source = std::make_shared<FakeSource>();
    source->processes[30] = {.basics = basics(30, "t", "/opt/tool")};
    source->processes[31] = {.basics = std::nullopt, .currentFolder = VnodeRef{"/Volumes/Data/x", 0, false}};
    const ScanResult result = scannerOver(source).scan(dataDevice, dataMount, false);
    ASSERT_EQ(result.holders.size(), 1u);
    // Without basics the holder is still reported under its pid.
    EXPECT_EQ(result.holders[0].name, "PID 31");
    EXPECT_EQ(result.holders[0].uid, 0u);
    EXPECT_EQ(result.holders[0].kind, HelperKind::commandLine);
}

TEST(HolderScanner, NamesClassifiesAndSortsHolders) {
    auto source = std::make_shared<FakeSource>();
    const std::vector<VnodeRef> onDrive{{"/Volumes/Data/f", 7, false}};
    source->processes[40] = {.basics = basics(40, "zsh", "/bin/zsh"), .openFiles = onDrive};
    source->processes[41] = {.basics = basics(41, "mdworker_shared"), .openFiles = onDrive};
    source->processes[42] = {.basics = basics(42, "Zed", "/Applications/Zed.app/Contents/MacOS/zed"), .openFiles = onDrive};
    source->processes[43] = {.basics = basics(43, "beta", "/Applications/Beta.app/Contents/MacOS/beta"), .openFiles = onDrive};
    source->processes[44] = {.basics = basics(44, "Alpha"), .openFiles = onDrive};
    source->processes[45] = {.basics = basics(45, "alpha"), .openFiles = onDrive};
    const auto lookup = [](std::int32_t pid) -> std::optional<AppIdentity> {
        if (pid == 42) return AppIdentity{.name = "zed", .bundleID = "dev.zed", .isRegular = true};
        if (pid == 43) return AppIdentity{.name = "Beta app", .isRegular = true};
        return std::nullopt;
    };
    const ScanResult result = scannerOver(source, lookup).scan(dataDevice, dataMount, false);
    std::vector<std::int32_t> order;
    for (const Holder& holder : result.holders) order.push_back(holder.pid);
    // Apps by name ignoring case, then shells and programs (equal names keep scan order), then services.
    EXPECT_EQ(order, (std::vector<std::int32_t>{43, 42, 44, 45, 40, 41}));
    EXPECT_EQ(result.holders[0].name, "Beta app");
    EXPECT_EQ(result.holders[0].appBundlePath, "/Applications/Beta.app");
    EXPECT_EQ(result.holders[4].kind, HelperKind::shell);
    EXPECT_EQ(result.holders[5].kind, HelperKind::spotlight);
}

TEST(HolderScanner, BuildsTheDissenter) {
    auto source = std::make_shared<FakeSource>();
    source->processes[0] = {.basics = std::nullopt};
    source->processes[50] = {.basics = basics(50, "fseventsd", "/System/Library/Frameworks/x/fseventsd")};
    const HolderScanner scanner = scannerOver(source);
    EXPECT_FALSE(scanner.holderForDissenter(-1));
    EXPECT_FALSE(scanner.holderForDissenter(0));
    const std::optional<Holder> service = scanner.holderForDissenter(50);
    ASSERT_TRUE(service);
    EXPECT_TRUE(service->namedByMacOS);
    EXPECT_TRUE(service->holds.empty());
    EXPECT_EQ(service->kind, HelperKind::fileService);
    EXPECT_FALSE(service->mainPath());
}

TEST(HolderScanner, FindsTheBundleAndDisplayNames) {
    EXPECT_EQ(HolderScanner::outerApp("/Applications/Foo.app/Contents/Helpers/Bar.app/Contents/MacOS/bar"),
              "/Applications/Foo.app");
    EXPECT_FALSE(HolderScanner::outerApp("/usr/bin/vim"));

    EXPECT_EQ(displayName("/Applications/Foo.app/Contents/MacOS/foo-bin"), "Foo");
    EXPECT_EQ(displayName("/usr/bin/vim"), "vim");
    EXPECT_EQ(displayName("/Applications/Foo.app/Contents/Frameworks/X.framework/Versions/A/Support/tool"), "tool");
    EXPECT_EQ(displayName("/Applications/Foo.app/Contents/Resources/agent"), "agent");
    EXPECT_EQ(displayName("/A.app/Contents/Helpers/B.app/Contents/MacOS/b"), "B");
    EXPECT_EQ(displayName("//"), "");
    EXPECT_EQ(displayName("/usr/bin/"), "bin");
}

TEST(DriveCheck, GoesDeepOnlyWhenTheQuickScanFindsNothing) {
    auto source = std::make_shared<FakeSource>();
    source->processes[60] = {.basics = basics(60, "viewer"),
                             .mappedFiles = std::vector<VnodeRef>{{"/Volumes/Data/movie", 7, false}}};
    const Drive drive{.id = "d", .volumes = {DriveVolume{.name = "Data", .mountPath = "/Volumes/Data", .device = 7}}};
    const ScanResult found = checkDrive(scannerOver(source), drive);
    EXPECT_TRUE(found.deep);
    ASSERT_EQ(found.holders.size(), 1u);
    EXPECT_EQ(found.holders[0].holds[0].kind, HoldKind::mappedFile);

    source->processes[61] = {.basics = basics(61, "cat"), .openFiles = std::vector<VnodeRef>{{"/Volumes/Data/f", 7, false}}};
    const ScanResult quick = checkDrive(scannerOver(source), drive);
    EXPECT_FALSE(quick.deep);
    ASSERT_EQ(quick.holders.size(), 1u);
    EXPECT_EQ(quick.holders[0].pid, 61);
}

TEST(HolderScanner, ReportsNothingOfADriveThatIsNotOrNoLongerMounted) {
    auto source = std::make_shared<FakeSource>();
    source->processes[70] = {.basics = basics(70, "cat"), .openFiles = std::vector<VnodeRef>{{"/Volumes/Data/f", 7, false}}};
    source->processes[71] = {.basics = basics(71, "less"), .openFiles = std::vector<VnodeRef>{{"/Volumes/Two/g", 8, false}}};
    const std::set<std::uint32_t> devices{7, 8};
    const std::vector<std::string> mounts{"/Volumes/Data", "/Volumes/Two"};
    const DriveScope whole{.devices = devices, .mountPaths = mounts};
    const DriveScope dataOnly{.devices = {7}, .mountPaths = {"/Volumes/Data"}};

    EXPECT_EQ(scannerOver(source).scan(devices, mounts, false).holders.size(), 2u);

    // Gone before the scan: nothing is read.
    source->mountedParts = {DriveScope{}};
    const ScanResult gone = scannerOver(source).scan(devices, mounts, true);
    EXPECT_TRUE(gone.holders.empty());
    EXPECT_EQ(gone.checked + gone.hidden, 0);
    EXPECT_EQ(source->mappedQueries, 0);

    // Unmounted, or mounted anew, while the scan ran: what it found may lie elsewhere.
    source->mountedParts = {whole, DriveScope{}};
    EXPECT_TRUE(scannerOver(source).scan(devices, mounts, false).holders.empty());
    source->mountedParts = {whole, dataOnly};
    EXPECT_TRUE(scannerOver(source).scan(devices, mounts, false).holders.empty());

    // One volume of two still mounted: only its holders.
    source->mountedParts = {dataOnly, dataOnly};
    const ScanResult half = scannerOver(source).scan(devices, mounts, false);
    ASSERT_EQ(half.holders.size(), 1u);
    EXPECT_EQ(half.holders[0].pid, 70);
}

TEST(HolderScanner, HandsTheKernelTheNamespacesItsProcessesRunInAndCountsClosedOnesHidden) {
    auto source = std::make_shared<NamespacedSource>();
    for (const std::int32_t pid : {30, 31, 32, 33, 900}) source->processes[pid] = {.basics = basics(pid, "p")};
    source->processes[34] = {.basics = basics(34, "root"), .openFiles = std::nullopt};  // closed to the scan
    // 31 and 33 share a sandbox's namespace; 32's namespace is closed; this program's own is left out.
    source->namespaces = {{30, 1}, {33, 2}, {31, 2}, {32, 0}, {34, 3}, {900, 4}};
    const Drive drive{.id = "data", .volumes = {DriveVolume{.name = "Data", .mountPath = "/Volumes/Data", .device = 7}}};

    // Without a kernel source, nothing asks for namespaces.
    EXPECT_EQ(scannerOver(source).scan(drive, false).hidden, 1);
    EXPECT_EQ(source->asked, std::vector<bool>{false});

    auto kernel = std::make_shared<RecordingKernel>();
    kernel->hidden = 2;
    HolderScanner scanner = scannerOver(source);
    scanner.kernel = kernel;
    const ScanResult quick = scanner.scan(drive, false);
    ASSERT_EQ(kernel->handed.size(), 1u);
    ASSERT_TRUE(kernel->handed[0]);
    EXPECT_EQ(kernel->handed[0]->lowestPIDs, (std::map<std::uint64_t, std::int32_t>{{1, 30}, {2, 31}}));
    EXPECT_EQ(kernel->handed[0]->closed, 1);
    // The process closed to the scan, and what the kernel source could not read.
    EXPECT_EQ(quick.hidden, 3);
    EXPECT_EQ(quick.checked, 4);

    // The file systems after an unmount: the same namespaces.
    scanner.scanFileSystems(drive);
    ASSERT_EQ(kernel->handed.size(), 2u);
    EXPECT_EQ(kernel->handed[1], kernel->handed[0]);

    // Nothing mounted here, so no process was read: the kernel source looks for itself.
    source->mountedParts = {DriveScope{}};
    scanner.scan(drive, false);
    ASSERT_EQ(kernel->handed.size(), 3u);
    EXPECT_FALSE(kernel->handed[2]);
}

// Times the quick holder scan of one drive on this machine with and without the kernel-holder
// checks (attached disk images, swap, inner mounts, other mount namespaces, stacked devices),
// in turn within one process, so that a busy machine slows both alike. Prints, for each, the
// median wall and processor time of RUNS scans in milliseconds, and the difference.
//
// usage: scan-cost MOUNT_PATH [RUNS]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <variant>
#include <vector>

#include "KestrixKit/System/SystemContext.h"
#include "KestrixKit/Volumes/VolumeList.h"

namespace {

struct ScanCostTimes {
    std::vector<double> wall;
    std::vector<double> processor;
};

double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void timeOneScan(const kestrix::HolderScanner& scanner, const kestrix::Drive& drive, ScanCostTimes& times) {
    const auto wallStart = std::chrono::steady_clock::now();
    const double processorStart = processorSeconds();
    const kestrix::ScanResult result = scanner.scan(drive, false);
    times.processor.push_back((processorSeconds() - processorStart) * 1000);
    times.wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count());
    if (result.checked == 0) std::fprintf(stderr, "scan-cost: no process was checked\n");
}

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: scan-cost MOUNT_PATH [RUNS]\n");
        return 2;
    }
    const std::string mountPath = argv[1];
    const int runs = argc == 3 ? std::max(1, std::atoi(argv[2])) : 9;
    auto made = kestrix::makeSystemContext({});
    if (auto* error = std::get_if<kestrix::ContextError>(&made)) {
        std::fprintf(stderr, "scan-cost: %s\n", error->message.c_str());
        return 1;
    }
    const kestrix::SystemContext& system = std::get<kestrix::SystemContext>(made);
    const std::vector<kestrix::Drive> drives =
        kestrix::VolumeList::drives(*system.volumes, {.diskImages = true, .networkShares = true});
    const auto drive = std::find_if(drives.begin(), drives.end(), [&](const kestrix::Drive& candidate) {
        const std::vector<std::string> paths = candidate.mountPaths();
        return std::find(paths.begin(), paths.end(), mountPath) != paths.end();
    });
    if (drive == drives.end()) {
        std::fprintf(stderr, "scan-cost: no drive is mounted at %s\n", mountPath.c_str());
        return 1;
    }
    const kestrix::HolderScanner with = system.holderScanner();
    kestrix::HolderScanner without = with;
    without.kernel = nullptr;
    ScanCostTimes withTimes;
    ScanCostTimes withoutTimes;
    for (int run = 0; run < runs; ++run) {
        timeOneScan(without, *drive, withoutTimes);
        timeOneScan(with, *drive, withTimes);
    }
    const double wallWithout = medianOf(withoutTimes.wall);
    const double wallWith = medianOf(withTimes.wall);
    const double cpuWithout = medianOf(withoutTimes.processor);
    const double cpuWith = medianOf(withTimes.processor);
    std::printf("without %.1f ms cpu %.1f ms\n", wallWithout, cpuWithout);
    std::printf("with %.1f ms cpu %.1f ms\n", wallWith, cpuWith);
    std::printf("added %+.1f ms cpu %+.1f ms\n", wallWith - wallWithout, cpuWith - cpuWithout);
    return 0;
}

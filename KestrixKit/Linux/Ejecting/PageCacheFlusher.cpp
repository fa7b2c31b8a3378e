#include "KestrixKit/Linux/Ejecting/PageCacheFlusher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <memory>
#include <set>
#include <vector>

#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Ejection/FlushEstimate.h"
#include "KestrixKit/Ejection/WritebackParsing.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"

namespace kestrix {
namespace {

constexpr std::chrono::milliseconds sampleEvery{500};

using Descriptors = std::vector<std::unique_ptr<filesupport::OwnedDescriptor>>;

// The drive's file systems that are still mounted where it says. The folder beneath a mount that
// went meanwhile belongs to another file system, which is not this drive's to write out.
Descriptors openFileSystems(const Drive& drive) {
    Descriptors opened;
    std::set<std::string> seen;
    for (const DriveVolume& volume : drive.volumes) {
        if (volume.device == 0 || !seen.insert(volume.mountPath).second) continue;
        auto descriptor = std::make_unique<filesupport::OwnedDescriptor>(
            open(volume.mountPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
        struct stat status {};
        if (!descriptor->valid() || fstat(descriptor->get(), &status) != 0) continue;
        if (kernelDeviceNumber(status.st_dev) != volume.device) continue;
        opened.push_back(std::move(descriptor));
    }
    return opened;
}

double monotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The page cache and the writes of the drive's devices now; absent where the kernel doesn't say.
std::optional<WritebackSample> sample(const std::filesystem::path& procRoot, const std::vector<std::string>& statFiles) {
    const std::optional<std::string> meminfo = procfs::readText(AT_FDCWD, (procRoot / "meminfo").c_str());
    const std::optional<std::uint64_t> cached = meminfo ? writeback::cachedBytes(*meminfo) : std::nullopt;
    if (!cached) return std::nullopt;
    WritebackSample taken{.seconds = monotonicSeconds(), .cachedBytes = *cached, .writtenBytes = 0, .inFlight = 0};
    for (const std::string& file : statFiles) {
        const std::optional<std::string> text = procfs::readText(AT_FDCWD, file.c_str());
        const std::optional<writeback::DeviceWrites> writes = text ? writeback::deviceWrites(*text) : std::nullopt;
        if (!writes) return std::nullopt;
        taken.writtenBytes += writes->writtenBytes;
        taken.inFlight += writes->inFlight;
    }
    return taken;
}

std::vector<std::string> statFilesOf(const Drive& drive, const std::filesystem::path& sysfsRoot) {
    std::set<std::string> devices;
    for (const DriveVolume& volume : drive.volumes) {
        if (volume.bsdName) devices.insert(*volume.bsdName);
    }
    std::vector<std::string> files;
    for (const std::string& device : devices) {
        // A name from the mount table never leads out of the class folder.
        if (device.find('/') != std::string::npos || device.starts_with('.')) continue;
        files.push_back((sysfsRoot / "class/block" / device / "stat").string());
    }
    return files;
}

}  // namespace

void PageCacheFlusher::flush(const Drive& drive, const std::function<void(const FlushProgress&)>& shown) {
    const std::shared_ptr<Descriptors> fileSystems = std::make_shared<Descriptors>(openFileSystems(drive));
    if (fileSystems->empty()) return;
    const std::vector<std::string> statFiles = statFilesOf(drive, sysfsRoot_);
    const std::optional<WritebackSample> start = sample(procRoot_, statFiles);
    // syncfs returns only once everything is written: it runs on a thread of its own, so that the
    // amount left can be read meanwhile.
    std::future<void> written = std::async(std::launch::async, [fileSystems] {
        for (const auto& fileSystem : *fileSystems) syncfs(fileSystem->get());
    });
    bool showing = false;
    while (written.wait_for(sampleEvery) != std::future_status::ready) {
        if (!start || !shown) continue;
        const std::optional<WritebackSample> now = sample(procRoot_, statFiles);
        if (!now || now->seconds - start->seconds < flushShownAfterSeconds) continue;
        if (const std::optional<FlushProgress> progress = estimateFlush(*start, *now)) {
            shown(*progress);
            showing = true;
        }
    }
    if (showing) shown(FlushProgress{.bytesLeft = 0, .secondsLeft = 0.0});
}

}  // namespace kestrix

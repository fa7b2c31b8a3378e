#include "KestrixKit/Tests/Support/SlowFile.h"

#include <chrono>
#include <fstream>
#include <thread>

#include "KestrixKit/Tests/Support/ShellCommands.h"

namespace fs = std::filesystem;

namespace kestrix::test {
namespace {

// One file, disk.img; each write waits as long as the pace asks before it reaches the backing file.
constexpr const char* serverScript = R"(import errno, os, stat, sys, time
from fusepy import FUSE, Operations, FuseOSError
class Slow(Operations):
    def __init__(self, backing, rate): self.backing, self.rate = backing, rate
    def getattr(self, path, fh=None):
        if path == '/': return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2)
        if path != '/disk.img': raise FuseOSError(errno.ENOENT)
        return dict(st_mode=stat.S_IFREG | 0o644, st_nlink=1, st_size=os.stat(self.backing).st_size)
    def readdir(self, path, fh): return ['.', '..', 'disk.img']
    def open(self, path, flags): return os.open(self.backing, os.O_RDWR)
    def read(self, path, size, offset, fh): return os.pread(fh, size, offset)
    def write(self, path, data, offset, fh):
        time.sleep(len(data) / self.rate)
        return os.pwrite(fh, data, offset)
    def fsync(self, path, datasync, fh): os.fsync(fh); return 0
    def release(self, path, fh): os.close(fh); return 0
FUSE(Slow(sys.argv[1], float(sys.argv[3])), sys.argv[2], foreground=True)
)";

}  // namespace

SlowFile::SlowFile(const fs::path& backing, std::uint64_t bytesPerSecond) {
    if (!runQuietly("/usr/bin/python3 -c 'import fusepy' && test -e /dev/fuse")) {
        skipReason_ = "a slow drive needs python3-fusepy and fuse3 (apt-get install python3-fusepy fuse3)";
        return;
    }
    mountFolder_ = backing.parent_path() / "served";
    script_ = backing.parent_path() / "slow-file.py";
    std::error_code error;
    fs::create_directories(mountFolder_, error);
    std::ofstream(script_) << serverScript;
    server_ = std::make_unique<ChildProcess>(std::vector<std::string>{
        "/usr/bin/python3", script_.string(), backing.string(), mountFolder_.string(), std::to_string(bytesPerSecond)});
    for (int tries = 0; tries < 100 && !fs::exists(path(), error); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!fs::exists(path(), error)) skipReason_ = "the FUSE server did not start (no /dev/fuse here?)";
}

SlowFile::~SlowFile() {
    if (mountFolder_.empty()) return;
    // Unmounted first, so that the server ends cleanly and leaves no dead mount behind.
    runQuietly("umount -l '" + mountFolder_.string() + "' 2>/dev/null");
    server_.reset();
    std::error_code error;
    fs::remove(mountFolder_, error);
    fs::remove(script_, error);
}

}  // namespace kestrix::test

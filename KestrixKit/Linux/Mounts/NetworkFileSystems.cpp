#include "KestrixKit/Linux/Mounts/NetworkFileSystems.h"

#include <algorithm>
#include <array>

namespace kestrix {

bool isNetworkFileSystem(std::string_view type) {
    static constexpr std::array<std::string_view, 24> networkTypes{
        "nfs",       "nfs4",           "cifs",        "smb3",       "smbfs",      "ncpfs",
        "9p",        "afs",            "coda",        "ceph",       "fuse.ceph",  "glusterfs",
        "fuse.glusterfs", "lustre",    "gfs",         "gfs2",       "fuse.sshfs", "sshfs",
        "fuse.rclone", "rclone",       "davfs",       "fuse.davfs2", "fuse.s3fs", "fuse.gcsfuse"};
    return std::find(networkTypes.begin(), networkTypes.end(), type) != networkTypes.end();
}

}  // namespace kestrix

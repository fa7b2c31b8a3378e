#pragma once

#include <string_view>

namespace kestrix {

// The demonstration system: a USB stick, an SD card, an external disk with a two-volume
// container, a disk image, a network share and the root volume; Preview reads a photo, a shell
// sits in a folder of the SD card and Spotlight indexes the backup disk. The stick is first
// refused by a system service, and a backup to the backup disk is running.
inline constexpr std::string_view demoWorldText = R"json({
  "currentUID": 501, "ownPID": 900,
  "processes": [
    { "pid": 1, "name": "launchd", "executablePath": "/sbin/launchd", "uid": 0, "parentPID": 0 },
    { "pid": 301, "name": "Finder", "executablePath": "/System/Library/CoreServices/Finder.app/Contents/MacOS/Finder",
      "uid": 501, "parentPID": 1, "openFiles": [], "currentFolder": { "path": "/", "device": 16777230 },
      "app": { "name": "Finder", "bundleID": "com.apple.finder", "isRegular": true } },
    { "pid": 412, "name": "Preview", "executablePath": "/Applications/Preview.app/Contents/MacOS/Preview",
      "uid": 501, "parentPID": 1,
      "openFiles": [ { "path": "/Volumes/Photos/IMG_1.jpg", "device": 16777234, "writing": false } ],
      "currentFolder": { "path": "/Users/me", "device": 16777230 },
      "app": { "name": "Preview", "bundleID": "com.apple.Preview", "isRegular": true } },
    { "pid": 530, "name": "zsh", "executablePath": "/bin/zsh", "uid": 501, "parentPID": 529, "openFiles": [],
      "currentFolder": { "path": "/Volumes/CAMERA/DCIM", "device": 16777238 } },
    { "pid": 611, "name": "mdworker_shared",
      "executablePath": "/System/Library/Frameworks/CoreServices.framework/Versions/A/Frameworks/Metadata.framework/Versions/A/Support/mdworker_shared",
      "uid": 501, "parentPID": 1,
      "openFiles": [ { "path": "/Volumes/Backup/Documents/report.pdf", "device": 16777242 } ] },
    { "pid": 900, "name": "Kestrix", "executablePath": "/Applications/Kestrix.app/Contents/MacOS/Kestrix",
      "uid": 501, "parentPID": 1, "openFiles": [], "currentFolder": { "path": "/Volumes/Photos", "device": 16777234 },
      "app": { "name": "Kestrix", "bundleID": "com.orvane.kestrix", "isRegular": true } }
  ],
  "ejector": {
    "disk4": [ { "outcome": "busy", "volume": "Photos", "pid": 611, "status": "0xF8DA0002" } ]
  },
  "timeMachine": {
    "status": "Backup session status:\n{\n    BackupPhase = Copying;\n    ClientID = \"com.apple.backupd\";\n    DestinationMountPoint = \"/Volumes/Backup\";\n    Percent = \"0.42\";\n    Progress =     {\n        Percent = \"0.42\";\n        TimeRemaining = 1260;\n    };\n    Running = 1;\n    Stopping = 0;\n}\n",
    "destinationinfo": "====================================================\nName          : Backup\nKind          : Local\nMount Point   : /Volumes/Backup\nID            : 5C1F0A7E-29D4-4C36-9E0B-8A1D3F6B2C11\n",
    "stopbackup": { "exit": 0, "output": "" }
  },
  "volumes": [
    { "path": "/", "name": "Macintosh HD", "totalCapacity": 494384795648, "availableCapacity": 201326592000,
      "isInternal": true, "isRootFileSystem": true, "mountSource": "/dev/disk3s1s1", "fileSystem": "apfs",
      "device": 16777230, "deviceModel": "APPLE SSD AP0512Q", "deviceProtocol": "Apple Fabric",
      "mediaKind": "IOMedia", "wholeDisk": "disk3", "physicalDisk": "disk0" },
    { "path": "/Volumes/Photos", "name": "Photos", "totalCapacity": 64000000000, "availableCapacity": 12000000000,
      "isEjectable": true, "isRemovable": true, "mountSource": "/dev/disk4s1", "fileSystem": "exfat",
      "device": 16777234, "deviceModel": "Cruzer Blade", "deviceProtocol": "USB", "mediaKind": "IOMedia",
      "wholeDisk": "disk4" },
    { "path": "/Volumes/CAMERA", "name": "CAMERA", "totalCapacity": 128000000000, "availableCapacity": 96500000000,
      "isEjectable": true, "isRemovable": true, "mountSource": "/dev/disk5s1", "fileSystem": "msdos",
      "device": 16777238, "deviceModel": "SD Card Reader", "deviceProtocol": "Secure Digital", "mediaKind": "IOMedia",
      "wholeDisk": "disk5" },
    { "path": "/Volumes/Backup", "name": "Backup", "totalCapacity": 2000000000000, "availableCapacity": 750000000000,
      "isEjectable": true, "mountSource": "/dev/disk7s1", "fileSystem": "apfs",
      "device": 16777242, "deviceModel": "My Passport 25E2", "deviceProtocol": "USB", "mediaKind": "IOMedia",
      "wholeDisk": "disk7", "physicalDisk": "disk6" },
    { "path": "/Volumes/Projects", "name": "Projects", "totalCapacity": 2000000000000, "availableCapacity": 750000000000,
      "isEjectable": true, "mountSource": "/dev/disk7s2", "fileSystem": "apfs",
      "device": 16777243, "deviceModel": "My Passport 25E2", "deviceProtocol": "USB", "mediaKind": "IOMedia",
      "wholeDisk": "disk7", "physicalDisk": "disk6" },
    { "path": "/Volumes/Installer", "name": "Installer", "totalCapacity": 1200000000, "availableCapacity": 0,
      "isInternal": false, "isEjectable": true, "isReadOnly": true, "mountSource": "/dev/disk8s1", "fileSystem": "hfs",
      "device": 16777246, "deviceModel": "Disk Image", "deviceProtocol": "Disk Image", "mediaKind": "IOMedia",
      "wholeDisk": "disk8" },
    { "path": "/Volumes/Team", "name": "Team", "totalCapacity": 8000000000000, "availableCapacity": 3100000000000,
      "isLocal": false, "mountSource": "//me@nas.local/Team", "fileSystem": "smbfs", "device": 872415232 }
  ]
})json";

}  // namespace kestrix

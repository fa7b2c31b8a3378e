#pragma once

#include <string_view>

namespace kestrix {

// The demonstration system, a Linux desktop: a USB stick (Holiday), an SD card, an external disk with two
// volumes, a disk image, a network share and the root volume. Text Editor has a note open on the
// stick; a shell in a terminal sits in a folder of the SD card, where less shows a file; the
// search indexer reads the backup disk and Files shows a folder of its other volume. The stick is
// first refused by a system service, and Déjà Dup is backing up to the backup disk.
inline constexpr std::string_view demoWorldText = R"json({
  "words": "linux",
  "currentUID": 1000, "ownPID": 900,
  "processes": [
    { "pid": 1, "name": "systemd", "executablePath": "/usr/lib/systemd/systemd", "uid": 0, "parentPID": 0 },
    { "pid": 301, "name": "nautilus", "executablePath": "/usr/bin/nautilus", "uid": 1000, "parentPID": 1,
      "openFiles": [ { "path": "/media/alex/Projects/Website", "device": 2082 } ],
      "currentFolder": { "path": "/home/alex", "device": 66306 },
      "app": { "name": "Files", "bundleID": "org.gnome.Nautilus", "isRegular": true } },
    { "pid": 412, "name": "gnome-text-edit", "executablePath": "/usr/bin/gnome-text-editor",
      "uid": 1000, "parentPID": 1,
      "openFiles": [ { "path": "/media/alex/Holiday/notes.txt", "device": 2065, "writing": false } ],
      "currentFolder": { "path": "/home/alex", "device": 66306 },
      "app": { "name": "Text Editor", "bundleID": "org.gnome.TextEditor", "isRegular": true } },
    { "pid": 529, "name": "gnome-terminal-", "executablePath": "/usr/libexec/gnome-terminal-server",
      "uid": 1000, "parentPID": 1, "openFiles": [], "currentFolder": { "path": "/home/alex", "device": 66306 },
      "app": { "name": "Terminal", "bundleID": "org.gnome.Terminal", "isRegular": true } },
    { "pid": 530, "name": "bash", "executablePath": "/usr/bin/bash", "uid": 1000, "parentPID": 529, "openFiles": [],
      "currentFolder": { "path": "/media/alex/CAMERA/DCIM", "device": 45825 } },
    { "pid": 531, "name": "less", "executablePath": "/usr/bin/less", "uid": 1000, "parentPID": 530,
      "openFiles": [ { "path": "/media/alex/CAMERA/DCIM/README.txt", "device": 45825 } ],
      "currentFolder": { "path": "/media/alex/CAMERA/DCIM", "device": 45825 } },
    { "pid": 611, "name": "tracker-miner-fs-3", "executablePath": "/usr/libexec/tracker-miner-fs-3",
      "uid": 1000, "parentPID": 1,
      "openFiles": [ { "path": "/media/alex/Backup/Documents/report.pdf", "device": 2081 } ] },
    { "pid": 900, "name": "kestrix", "executablePath": "/usr/bin/kestrix",
      "uid": 1000, "parentPID": 1, "openFiles": [], "currentFolder": { "path": "/media/alex/Holiday", "device": 2065 },
      "app": { "name": "Kestrix", "bundleID": "com.orvane.Kestrix", "isRegular": true } }
  ],
  "ejector": {
    "sdb": [ { "outcome": "busy", "volume": "Holiday", "pid": 611, "status": "0xF8DA0002" } ]
  },
  "timeMachine": {
    "tool": "dejaDup",
    "status": "Backup session status:\n{\n    BackupPhase = Copying;\n    DestinationMountPoint = \"/media/alex/Backup\";\n    Running = 1;\n}\n",
    "destinationinfo": "Name          : Backup\nKind          : Local\nMount Point   : /media/alex/Backup\n",
    "stopbackup": { "exit": 0, "output": "" }
  },
  "volumes": [
    { "path": "/", "name": "Filesystem root", "totalCapacity": 494384795648, "availableCapacity": 201326592000,
      "isInternal": true, "isRootFileSystem": true, "mountSource": "/dev/nvme0n1p2", "fileSystem": "ext4",
      "device": 66306, "deviceModel": "Samsung SSD 980 PRO 1TB", "deviceProtocol": "PCI-Express",
      "mediaKind": "IOMedia", "wholeDisk": "nvme0n1" },
    { "path": "/media/alex/Holiday", "name": "Holiday", "totalCapacity": 64000000000, "availableCapacity": 12000000000,
      "isEjectable": true, "isRemovable": true, "mountSource": "/dev/sdb1", "fileSystem": "exfat",
      "device": 2065, "deviceModel": "Cruzer Blade", "deviceProtocol": "USB", "mediaKind": "IOMedia",
      "wholeDisk": "sdb" },
    { "path": "/media/alex/CAMERA", "name": "CAMERA", "totalCapacity": 128000000000, "availableCapacity": 96500000000,
      "isEjectable": true, "isRemovable": true, "mountSource": "/dev/mmcblk0p1", "fileSystem": "vfat",
      "device": 45825, "deviceModel": "SD Card Reader", "deviceProtocol": "Secure Digital", "mediaKind": "IOMedia",
      "wholeDisk": "mmcblk0" },
    { "path": "/media/alex/Backup", "name": "Backup", "totalCapacity": 1000000000000, "availableCapacity": 375000000000,
      "isEjectable": true, "mountSource": "/dev/sdc1", "fileSystem": "ext4",
      "device": 2081, "deviceModel": "My Passport 25E2", "deviceProtocol": "USB", "mediaKind": "IOMedia",
      "wholeDisk": "sdc" },
    { "path": "/media/alex/Projects", "name": "Projects", "totalCapacity": 1000000000000, "availableCapacity": 375000000000,
      "isEjectable": true, "mountSource": "/dev/sdc2", "fileSystem": "ext4",
      "device": 2082, "deviceModel": "My Passport 25E2", "deviceProtocol": "USB", "mediaKind": "IOMedia",
      "wholeDisk": "sdc" },
    { "path": "/media/alex/Installer", "name": "Installer", "totalCapacity": 1200000000, "availableCapacity": 0,
      "isInternal": false, "isEjectable": true, "isReadOnly": true, "mountSource": "/dev/loop0", "fileSystem": "iso9660",
      "device": 1792, "deviceModel": "Disk Image", "deviceProtocol": "Disk Image", "mediaKind": "IOMedia",
      "wholeDisk": "loop0" },
    { "path": "/media/alex/Team", "name": "Team", "totalCapacity": 8000000000000, "availableCapacity": 3100000000000,
      "isLocal": false, "mountSource": "//nas.local/Team", "fileSystem": "cifs", "device": 52 }
  ]
})json";

}  // namespace kestrix

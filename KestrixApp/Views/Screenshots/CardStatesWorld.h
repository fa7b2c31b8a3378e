#pragma once

#include <string_view>

namespace kestrix::views {

// The drives that show every state of a card once the screenshots have acted on them, on a Linux
// desktop: Holiday is free, vim writes to Notes, a system service keeps Service busy, LibreOffice
// Calc will not quit from Slides, Déjà Dup backs up to Backup and the system refuses Broken.
inline constexpr std::string_view cardStatesWorldText = R"json({
 "words": "linux",
 "currentUID": 1000,
 "ownPID": 900,
 "volumes": [
  {
   "path": "/media/alex/Holiday",
   "name": "Holiday",
   "totalCapacity": 32000000000,
   "availableCapacity": 11500000000,
   "isEjectable": true,
   "isRemovable": true,
   "mountSource": "/dev/sdb1",
   "fileSystem": "exfat",
   "device": 2065,
   "deviceProtocol": "USB",
   "wholeDisk": "sdb"
  },
  {
   "path": "/media/alex/Notes",
   "name": "Notes",
   "totalCapacity": 32000000000,
   "availableCapacity": 11500000000,
   "isEjectable": true,
   "isRemovable": true,
   "mountSource": "/dev/sdc1",
   "fileSystem": "exfat",
   "device": 2081,
   "deviceProtocol": "USB",
   "wholeDisk": "sdc"
  },
  {
   "path": "/media/alex/Service",
   "name": "Service",
   "totalCapacity": 32000000000,
   "availableCapacity": 11500000000,
   "isEjectable": true,
   "isRemovable": true,
   "mountSource": "/dev/sdd1",
   "fileSystem": "exfat",
   "device": 2097,
   "deviceProtocol": "USB",
   "wholeDisk": "sdd"
  },
  {
   "path": "/media/alex/Slides",
   "name": "Slides",
   "totalCapacity": 32000000000,
   "availableCapacity": 11500000000,
   "isEjectable": true,
   "isRemovable": true,
   "mountSource": "/dev/sde1",
   "fileSystem": "exfat",
   "device": 2113,
   "deviceProtocol": "USB",
   "wholeDisk": "sde"
  },
  {
   "path": "/media/alex/Backup",
   "name": "Backup",
   "totalCapacity": 32000000000,
   "availableCapacity": 11500000000,
   "isEjectable": true,
   "isRemovable": true,
   "mountSource": "/dev/sdf1",
   "fileSystem": "exfat",
   "device": 2129,
   "deviceProtocol": "USB",
   "wholeDisk": "sdf"
  },
  {
   "path": "/media/alex/Broken",
   "name": "Broken",
   "totalCapacity": 32000000000,
   "availableCapacity": 11500000000,
   "isEjectable": true,
   "isRemovable": true,
   "mountSource": "/dev/sdg1",
   "fileSystem": "exfat",
   "device": 2145,
   "deviceProtocol": "USB",
   "wholeDisk": "sdg"
  }
 ],
 "processes": [
  {
   "pid": 1,
   "name": "systemd",
   "executablePath": "/usr/lib/systemd/systemd",
   "uid": 0,
   "parentPID": 0
  },
  {
   "pid": 300,
   "name": "udisksd",
   "executablePath": "/usr/libexec/udisks2/udisksd",
   "uid": 0,
   "parentPID": 1
  },
  {
   "pid": 410,
   "name": "vim",
   "executablePath": "/usr/bin/vim",
   "uid": 1000,
   "parentPID": 1,
   "openFiles": [
    {
     "path": "/media/alex/Notes/todo.txt",
     "device": 2081,
     "writing": true
    }
   ]
  },
  {
   "pid": 412,
   "name": "evince",
   "executablePath": "/usr/bin/evince",
   "uid": 1000,
   "parentPID": 1,
   "openFiles": [
    {
     "path": "/media/alex/Notes/scan.pdf",
     "device": 2081
    }
   ],
   "app": {
    "name": "Document Viewer",
    "bundleID": "org.gnome.Evince",
    "isRegular": true
   }
  },
  {
   "pid": 610,
   "name": "soffice.bin",
   "executablePath": "/usr/lib/libreoffice/program/soffice.bin",
   "uid": 1000,
   "parentPID": 1,
   "openFiles": [
    {
     "path": "/media/alex/Slides/budget.ods",
     "device": 2113,
     "writing": true
    }
   ],
   "app": {
    "name": "LibreOffice Calc",
    "bundleID": "libreoffice-calc",
    "isRegular": true
   },
   "onQuit": "stays"
  }
 ],
 "ejector": {
  "sdd": [
   {
    "outcome": "busy",
    "volume": "Service",
    "pid": 300,
    "status": "0xF8DA0002"
   },
   {
    "outcome": "busy",
    "volume": "Service",
    "pid": 300,
    "status": "0xF8DA0002"
   }
  ],
  "sdg": [
   {
    "outcome": "failed",
    "volume": "Broken",
    "status": "0xF8DA0009",
    "message": "Operation not permitted"
   }
  ]
 },
 "timeMachine": {
  "tool": "dejaDup",
  "status": "Backup session status:\n{\n    BackupPhase = Copying;\n    DestinationMountPoint = \"/media/alex/Backup\";\n    Running = 1;\n}\n",
  "destinationinfo": "Name          : Backup\nKind          : Local\nMount Point   : /media/alex/Backup\n"
 }
})json";

}  // namespace kestrix::views

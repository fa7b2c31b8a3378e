#pragma once

#include <string_view>

namespace kestrix::views {

// The drives that show every state of a card once the screenshots have acted on them: Holiday
// is free, vim writes to Notes, a system service keeps Service busy, Numbers will not quit from
// Slides, a backup runs to Backup and the system refuses Broken.
inline constexpr std::string_view cardStatesWorldText = R"json({
 "currentUID": 501,
 "ownPID": 900,
 "volumes": [
  {
   "path": "/media/Holiday",
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
   "path": "/media/Notes",
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
   "path": "/media/Service",
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
   "path": "/media/Slides",
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
   "path": "/media/Backup",
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
   "path": "/media/Broken",
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
   "name": "launchd",
   "executablePath": "/sbin/launchd",
   "uid": 0,
   "parentPID": 0
  },
  {
   "pid": 300,
   "name": "fseventsd",
   "executablePath": "/System/Library/Frameworks/CoreServices.framework/Versions/A/Support/fseventsd",
   "uid": 0,
   "parentPID": 1
  },
  {
   "pid": 410,
   "name": "vim",
   "executablePath": "/usr/bin/vim",
   "uid": 501,
   "parentPID": 1,
   "openFiles": [
    {
     "path": "/media/Notes/todo.txt",
     "device": 2081,
     "writing": true
    }
   ]
  },
  {
   "pid": 412,
   "name": "Preview",
   "executablePath": "/Applications/Preview.app/Contents/MacOS/Preview",
   "uid": 501,
   "parentPID": 1,
   "openFiles": [
    {
     "path": "/media/Notes/scan.pdf",
     "device": 2081
    }
   ],
   "app": {
    "name": "Preview",
    "bundleID": "com.apple.Preview",
    "isRegular": true
   }
  },
  {
   "pid": 610,
   "name": "Numbers",
   "executablePath": "/Applications/Numbers.app/Contents/MacOS/Numbers",
   "uid": 501,
   "parentPID": 1,
   "openFiles": [
    {
     "path": "/media/Slides/budget.numbers",
     "device": 2113,
     "writing": true
    }
   ],
   "app": {
    "name": "Numbers",
    "bundleID": "com.apple.iWork.Numbers",
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
  "status": "Backup session status:\n{\n    BackupPhase = Copying;\n    ClientID = \"com.apple.backupd\";\n    DestinationMountPoint = \"/media/Backup\";\n    Percent = \"0.426\";\n    Progress =     {\n        Percent = \"0.426\";\n        TimeRemaining = 900;\n    };\n    Running = 1;\n    Stopping = 0;\n}\n",
  "destinationinfo": "====================================================\nName          : Backup\nKind          : Local\nMount Point   : /media/Backup\nID            : 5C1F0A7E-29D4-4C36-9E0B-8A1D3F6B2C11\n"
 }
})json";

}  // namespace kestrix::views

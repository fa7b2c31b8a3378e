#include "KestrixKit/Text/LinuxWords.h"

#include <algorithm>

namespace kestrix::LinuxWords {

const std::vector<std::pair<std::string_view, std::string_view>>& all() {
    static const std::vector<std::pair<std::string_view, std::string_view>> table{
        // Kinds of holder.
        {"Finder", "File manager"},
        {"Quick Look", "Previews and thumbnails"},
        {"Spotlight", "Search indexer"},
        {"Time Machine", "Backup tool"},
        {"Photos analysis", "Media analysis"},
        {"macOS service", "System service"},
        {"Terminal shell", "Shell in a terminal"},
        {"Finder is using this drive: copying files, or a window is showing it.",
         "The file manager is using this drive: copying files, or a window is showing it."},
        {"Quick Look is showing a preview, or making thumbnails, of files on this drive.",
         "A previewer is showing a preview, or making thumbnails, of files on this drive."},
        {"Spotlight is indexing this drive so you can search it.",
         "The search indexer is indexing this drive so you can search it."},
        {"Time Machine is backing up to this drive, or reading from it.",
         "A backup tool is backing up to this drive, or reading from it."},
        {"Photos is analyzing pictures or videos on this drive.",
         "A photo app is analyzing pictures or videos on this drive."},
        {"macOS is checking this drive for errors.", "The system is checking this drive for errors."},
        {"A macOS file service is still working with this drive.",
         "A system file service is still working with this drive."},
        {"A Terminal window is open in a folder on this drive.", "A terminal window is open in a folder on this drive."},
        {"Wait for any copy to finish and close Finder windows showing the drive.",
         "Wait for any copy to finish and close file manager windows showing the drive."},
        {"It usually lets go in a few seconds, so Kestrix tries again for you. For a drive you eject often, add it "
         "to Spotlight\u2019s Search Privacy list in System Settings.",
         "It usually lets go in a few seconds, so Kestrix tries again for you. For a drive you eject often, add it "
         "to the search indexer\u2019s excluded locations in your desktop\u2019s settings."},
        {"This stops on its own. Wait a moment and try again, or quit Photos.",
         "This stops on its own. Wait a moment and try again, or quit the photo app."},
        {"In that window, type cd ~ and press Return, or close the window.",
         "In that window, type cd ~ and press Enter, or close the window."},
        {"Stop it (Control-C in its Terminal window), or end it from here.",
         "Stop it (Ctrl+C in its terminal), or end it from here."},
        {"It\u2019s running %1: quit %1 in that window first, then type cd ~ and press Return, or close the window.",
         "It\u2019s running %1: quit %1 in that terminal first, then type cd ~ and press Enter, or close the terminal."},
        {"Press q in its Terminal window to close it, or end it from here.",
         "Press q in its terminal to close it, or end it from here."},
        {"In its Terminal window, type :wq to save your work and quit.",
         "In its terminal, type :wq to save your work and quit."},
        {"In its Terminal window, press Control-X to save your work and quit.",
         "In its terminal, press Ctrl+X to save your work and quit."},
        {"In its Terminal window, press Control-X Control-C to save your work and quit.",
         "In its terminal, press Ctrl+X Ctrl+C to save your work and quit."},
        {"In its Terminal window, save your work and quit it.", "In its terminal, save your work and quit it."},
        {"In its Terminal window, type cd ~, or close the window.", "In its terminal, type cd ~, or close the terminal."},
        {"In its Terminal window, press q.", "In its terminal, press q."},
        {"In its Terminal window, press Control-C.", "In its terminal, press Ctrl+C."},
        // How an eject went.
        {"%1 is in use: macOS says %2 is using it.", "%1 is in use: the system says %2 is using it."},
        {"%1 is still in use by a macOS service. Try again in a moment.",
         "%1 is still in use by a system service. Try again in a moment."},
        {"Time Machine is backing up to %1.", "A backup tool is backing up to %1."},
        {"macOS couldn\u2019t eject %1 (%2).", "The system couldn\u2019t eject %1 (%2)."},
        {"%1 is unmounted and safe to unplug (macOS couldn\u2019t power it off).",
         "%1 is unmounted and safe to unplug (the system couldn\u2019t power it off)."},
        {"named by macOS", "named by the system"},
        {"macOS unmounts the drive even though something is using it. Files that are open on it can lose unsaved "
         "changes or be damaged.",
         "The system unmounts the drive even though something is using it. Files that are open on it can lose "
         "unsaved changes or be damaged."},
        // The app's own lines.
        {"Waiting for Time Machine\u2026", "Waiting for the backup\u2026"},
        {"Time Machine is stopping the backup. Try ejecting again in a moment.",
         "The backup tool is stopping the backup. Try ejecting again in a moment."},
        {"macOS didn\u2019t let Kestrix stop the backup. Stop it from the Time Machine menu, or wait for it to finish.",
         "The backup tool didn\u2019t let Kestrix stop the backup. Stop it in the backup tool, or wait for it to "
         "finish."},
        {"Names what keeps a drive from ejecting. It sees your own apps and programs; macOS\u2019s own services are "
         "explained and retried. Made by Orvane.",
         "Names what keeps a drive from ejecting. It sees your own apps and programs; the system\u2019s own services "
         "are explained and retried. Made by Orvane."},
        // The drive card and its questions.
        {"macOS is using it", "The system is using it"},
        {"A macOS service is still using this drive. Kestrix can\u2019t look inside macOS\u2019s own background "
         "services (Spotlight, Time Machine and others run as the system), and macOS didn\u2019t say which one it is.",
         "A system service is still using this drive. Kestrix can\u2019t look inside the system\u2019s own background "
         "services (the search indexer, backup tools and others run as the system), and the system didn\u2019t say "
         "which one it is."},
        {"Time Machine is backing up to this drive (%1% done).", "A backup tool is backing up to this drive (%1% done)."},
        {"Time Machine is backing up to this drive.", "A backup tool is backing up to this drive."},
        {"macOS refused to eject it (%1).", "The system refused to eject it (%1)."},
        {"Show the file in Finder", "Show the file in the file manager"},
        {"Show the file %1 is using in Finder", "Show the file %1 is using in the file manager"},
        {"Tick the programs Kestrix may stop. Stopping one ends it at once (a Terminal window running it closes its "
         "program); unsaved work in it is lost.",
         "Tick the programs Kestrix may stop. Stopping one ends it at once (a terminal running it closes its "
         "program); unsaved work in it is lost."},
        {"macOS services on the list are left alone; Kestrix tries again after they let go.",
         "System services on the list are left alone; Kestrix tries again after they let go."},
        {"Stop the Time Machine backup to %1?", "Stop the backup to %1?"},
        {"The backup stops partway; Time Machine finishes it the next time it runs. Your earlier backups are kept.",
         "The backup stops partway; the backup tool finishes it the next time it runs. Your earlier backups are kept."},
        {"The list of ejects and what blocked them is deleted from this Mac.",
         "The list of ejects and what blocked them is deleted from this computer."},
        // Settings, welcome and help.
        {"Show disk images (.dmg)", "Show disk images (.iso, .img)"},
        {"External drives, cards and sticks always show. The Mac\u2019s own disks never do.",
         "External drives, cards and sticks always show. The computer\u2019s own disks never do."},
        {"Links for Raycast, Alfred, Stream Deck and scripts", "Links for launchers, Stream Deck and scripts"},
        {"Kestrix looks at which of your processes have files open on a drive, using macOS\u2019s process information. "
         "It reads file names and paths, never what\u2019s inside the files, and keeps nothing but its eject history.",
         "Kestrix looks at which of your processes have files open on a drive, using the system\u2019s process "
         "information. It reads file names and paths, never what\u2019s inside the files, and keeps nothing but its "
         "eject history."},
        {"The history (drive names, dates and the names of apps that blocked an eject) is a file on this Mac: %1. "
         "Clear it from the History page.",
         "The history (drive names, dates and the names of apps that blocked an eject) is a file on this computer: "
         "%1. Clear it from the History page."},
        {"It lives in the menu bar", "It lives in the system tray"},
        {"Click the eject symbol at the top of the screen to see every drive, whether it\u2019s ready, and what\u2019s "
         "using it.",
         "Click its eject symbol in the system tray to see every drive, whether it\u2019s ready, and what\u2019s using "
         "it."},
        {"Click the eject symbol in the menu bar to see every drive, whether it\u2019s ready, and what\u2019s using "
         "it. Open Kestrix there shows them in a larger window, with every eject so far.",
         "Click the eject symbol in the system tray to see every drive, whether it\u2019s ready, and what\u2019s "
         "using it. Open Kestrix there shows them in a larger window, with every eject so far."},
        {"Which app has a file open, a Terminal window sitting in a folder, Quick Look making thumbnails, and what to "
         "do about each.",
         "Which app has a file open, a terminal sitting in a folder, a previewer making thumbnails, and what to do "
         "about each."},
        {"macOS\u2019s own background services (Spotlight, Time Machine and others) run as the system, so only macOS "
         "can look inside them. When one holds a drive, Kestrix says so, names it when macOS does, and tries again "
         "for you.",
         "The system\u2019s own services (the search indexer, backup tools and others) run as other users, so only an "
         "administrator can look inside them. When one holds a drive, Kestrix says so, names it when the system "
         "does, and tries again for you."},
        {"No Full Disk Access, no Accessibility, no administrator password. Apps are only ever asked to quit, the "
         "same as choosing Quit, so they can ask you to save.",
         "No root, no extra groups, no administrator password. Apps are only ever asked to quit, the same as choosing "
         "Quit, so they can ask you to save."},
        {"It looks at every one of your own processes, the way the lsof command does: files open on the drive, a "
         "current folder on it (a Terminal window after cd), a program started from it, and files mapped into "
         "memory. It matches on the drive itself, so files reached through links count too. This takes a fraction "
         "of a second and changes nothing.",
         "It looks at every one of your own processes, the way the lsof command does: files open on the drive, a "
         "current folder on it (a terminal after cd), a program started from it, and files mapped into memory. It "
         "matches on the drive itself, so files reached through links count too. This takes a fraction of a second "
         "and changes nothing."},
        {"macOS\u2019s background services (Spotlight, Time Machine, fseventsd and others) run as the system. "
         "Without an administrator, no app can look inside them, Kestrix included. When nothing of yours holds a "
         "drive but macOS still refuses, Kestrix says a macOS service is using it, names it when macOS does, and "
         "tries once more after a moment. These services usually let go within seconds.",
         "The system\u2019s own services (the search indexer, backup tools, udisks and others) run as root or as "
         "other users. Without an administrator, no app can look inside them, Kestrix included. When nothing of "
         "yours holds a drive but the system still refuses, Kestrix says a system service is using it, names it "
         "when the system does, and tries once more after a moment. These services usually let go within seconds."},
        {"Eject never touches a drive your apps are using: it shows you the list instead. Quit and Eject asks those "
         "apps to quit the normal way, so an app with unsaved work asks you first. An app still open after about 10 "
         "seconds is brought to the front, and Kestrix waits for it. Command-line programs are only stopped when "
         "you tick them. macOS services, Finder and other users\u2019 processes are never quit.",
         "Eject never touches a drive your apps are using: it shows you the list instead. Quit and Eject asks those "
         "apps to quit the normal way, so an app with unsaved work asks you first. An app still open after about 10 "
         "seconds is brought to the front, and Kestrix waits for it. Command-line programs are only stopped when "
         "you tick them. System services, the file manager and other users\u2019 processes are never quit."},
        {"The last resort, behind a warning. macOS unmounts the drive even though something is using it, and open "
         "files can lose changes or be damaged. Kestrix never forces anything on its own.",
         "The last resort, behind a warning. The system unmounts the drive even though something is using it, and "
         "open files can lose changes or be damaged. Kestrix never forces anything on its own."},
        {"When Time Machine is backing up to a drive, Kestrix says so. It can wait for the backup to finish and then "
         "eject, or ask Time Machine to stop the backup, which Time Machine finishes the next time it runs.",
         "When a backup tool is backing up to a drive, Kestrix says so. It can wait for the backup to finish and "
         "then eject, or ask the backup tool to stop the backup, which it finishes the next time it runs."},
        {"Eject All ejects every drive, one after another, and lists how each one went. %1 does the same from any "
         "app. Shortcuts offers Eject All Drives and Eject Drive. And there are links: kestrix://eject-all, "
         "kestrix://eject?drive=Name and kestrix://check?drive=Name.",
         "Eject All ejects every drive, one after another, and lists how each one went. %1 does the same from any "
         "app, where the desktop lets apps take a shortcut; elsewhere, bind kestrix --action eject-all to a "
         "shortcut of your own. And there are links: kestrix://eject-all, kestrix://eject?drive=Name and "
         "kestrix://check?drive=Name."},
        {"Kestrix reads the names of processes and files, never what\u2019s inside the files, and keeps nothing but "
         "its eject history, on this Mac.",
         "Kestrix reads the names of processes and files, never what\u2019s inside the files, and keeps nothing but "
         "its eject history, on this computer."},
        // The Eject All hotkey.
        {"\u2303\u2325\u2318E", "Ctrl+Alt+Super+E"},
    };
    return table;
}

std::optional<std::string_view> wording(std::string_view baseText) {
    const auto& table = all();
    const auto found = std::find_if(table.begin(), table.end(), [&](const auto& entry) { return entry.first == baseText; });
    if (found == table.end()) return std::nullopt;
    return found->second;
}

}  // namespace kestrix::LinuxWords

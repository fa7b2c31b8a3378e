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
        {"The list of ejects and what blocked them is deleted from this Mac.",
         "The list of ejects and what blocked them is deleted from this computer."},
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

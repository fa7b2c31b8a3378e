#include "KestrixApp/Desktop/Autostart/XdgAutostart.h"

#include <QStandardPaths>
#include <system_error>

#include "KestrixApp/Desktop/Autostart/AutostartEntry.h"
#include "FileSupport/AtomicFile.h"
#include "FileSupport/RegularFile.h"

namespace kestrix::desktop {

namespace {

constexpr const char* entryName = "com.orvane.Kestrix.desktop";
// A desktop entry is a few hundred bytes; anything far larger is not ours to copy.
constexpr std::size_t largestEntry = 256 * 1024;

// A FIFO, device or folder at a known path is never opened for reading: it could block every start.
std::optional<std::string> readSmallFile(const std::filesystem::path& file) {
    auto text = filesupport::readRegularFile(file.string(), largestEntry);
    if (auto* read = std::get_if<std::string>(&text)) return std::move(*read);
    return std::nullopt;
}

}  // namespace

XdgAutostart::XdgAutostart(std::filesystem::path entryFile,
                           std::vector<std::filesystem::path> applicationFolders, std::string executable)
    : entryFile_(std::move(entryFile)),
      applicationFolders_(std::move(applicationFolders)),
      executable_(std::move(executable)) {}

XdgAutostart XdgAutostart::forThisSession(const std::string& executable) {
    const auto config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    std::vector<std::filesystem::path> applicationFolders;
    for (const auto& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        applicationFolders.emplace_back(data.toStdString() + "/applications");
    return XdgAutostart(config.toStdString() + "/autostart/" + entryName, std::move(applicationFolders),
                        executable);
}

bool XdgAutostart::isEnabled() const {
    const auto text = readSmallFile(entryFile_);
    return text && AutostartEntry::starts(*text);
}

std::optional<std::string> XdgAutostart::setEnabled(bool enabled) {
    if (enabled) return filesupport::writeFileAtomically(entryFile_.string(), AutostartEntry::text(installedEntry(), executable_));
    // Only an entry of ours is removed: a FIFO or a folder put there is not a setting.
    if (const auto problem = filesupport::notRegularFileProblem(entryFile_.string())) return problem;
    std::error_code error;
    std::filesystem::remove(entryFile_, error);
    if (error) return error.message();
    return std::nullopt;
}

std::optional<std::string> XdgAutostart::installedEntry() const {
    for (const auto& folder : applicationFolders_)
        if (auto text = readSmallFile(folder / entryName)) return text;
    return std::nullopt;
}

}  // namespace kestrix::desktop

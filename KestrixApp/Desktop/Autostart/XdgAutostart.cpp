#include "KestrixApp/Desktop/Autostart/XdgAutostart.h"

#include <QStandardPaths>
#include <fstream>
#include <system_error>

#include "KestrixApp/Desktop/Autostart/AutostartEntry.h"
#include "FileSupport/AtomicFile.h"

namespace kestrix::desktop {

namespace {

constexpr const char* entryName = "com.orvane.Kestrix.desktop";
// A desktop entry is a few hundred bytes; anything far larger is not ours to copy.
constexpr std::streamsize largestEntry = 256 * 1024;

std::optional<std::string> readSmallFile(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) return std::nullopt;
    std::string text(largestEntry + 1, '\0');
    stream.read(text.data(), largestEntry + 1);
    if (stream.gcount() > largestEntry) return std::nullopt;
    text.resize(static_cast<std::size_t>(stream.gcount()));
    return text;
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

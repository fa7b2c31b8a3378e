#include "KestrixApp/Model/FileWatcher.h"

#include <QFileInfo>

namespace kestrix {

FileWatcher::FileWatcher(const QString& path, QObject* parent)
    : QObject(parent), path_(QFileInfo(path).absoluteFilePath()) {
    watcher_.addPath(QFileInfo(path_).absolutePath());
    watchFile();
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FileWatcher::fileEvent);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FileWatcher::folderEvent);
}

bool FileWatcher::watchFile() {
    if (watcher_.files().contains(path_)) return true;
    if (!QFileInfo::exists(path_) || !watcher_.addPath(path_)) return false;
    target_ = QFileInfo(path_).canonicalFilePath();
    return true;
}

void FileWatcher::fileEvent() {
    // The file may have been replaced by a new one under the same name: watch whatever is
    // there now. A file that is gone for the moment comes back through its folder.
    watcher_.removePath(path_);
    if (watchFile()) emit changed();
}

void FileWatcher::folderEvent() {
    // A link re-pointed at another file leaves the watch on the old one.
    if (watcher_.files().contains(path_) && QFileInfo(path_).canonicalFilePath() != target_)
        watcher_.removePath(path_);
    // Other files of the folder changing say nothing about this one.
    if (!watcher_.files().contains(path_) && QFileInfo::exists(path_) && watchFile()) emit changed();
}

}  // namespace kestrix

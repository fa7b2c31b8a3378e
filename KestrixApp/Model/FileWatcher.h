#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

namespace kestrix {

// Tells when a file was written: a world file, or the history that kestrixctl adds to. Editors
// and atomic saves replace the file, which ends a watch on it, so its folder is watched too and
// the file is watched again once it is back. A file given as a symbolic link is followed:
// re-pointing the link is a change too.
class FileWatcher : public QObject {
    Q_OBJECT
public:
    explicit FileWatcher(const QString& path, QObject* parent = nullptr);

signals:
    void changed();

private:
    void fileEvent();
    void folderEvent();
    bool watchFile();

    QString path_;
    // The file the path led to when it was last watched; a watch follows a link only once.
    QString target_;
    QFileSystemWatcher watcher_;
};

}  // namespace kestrix

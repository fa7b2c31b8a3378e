#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

namespace kestrix {

// Tells when a world file was written. Editors often save by replacing the file, which ends
// a watch on it, so its folder is watched too and the file is watched again once it is back.
// A world given as a symbolic link is followed: re-pointing the link is a change too.
class WorldFileWatcher : public QObject {
    Q_OBJECT
public:
    explicit WorldFileWatcher(const QString& path, QObject* parent = nullptr);

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

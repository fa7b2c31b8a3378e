#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

namespace kestrix {

// Tells when a world file was written. Editors often save by replacing the file, which ends
// a watch on it, so its folder is watched too and the file is watched again once it is back.
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
    QFileSystemWatcher watcher_;
};

}  // namespace kestrix

#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

namespace kestrix {

// Tells when a file was written: a world file, or the history that kestrixctl adds to. Editors
// and atomic saves replace the file, which ends a watch on it, so its folder is watched too and
// the file is watched again once it is back.
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
    QFileSystemWatcher watcher_;
};

}  // namespace kestrix

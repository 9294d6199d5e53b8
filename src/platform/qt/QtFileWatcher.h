#pragma once

#include "platform/FileWatcher.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QString>

#include <map>

namespace sw::qt {

// The file watcher on QFileSystemWatcher. A file saved by writing a new one and renaming it
// over the old (as most programs save) is no longer the file watched; so each file's folder is
// watched too, and a file that comes back is watched again.
class QtFileWatcher : public FileWatcher {
public:
    QtFileWatcher();

    void setListener(Listener listener) override { listener_ = std::move(listener); }
    void watch(const std::vector<std::string>& paths) override;

private:
    // What a file looked like when it was last seen; a folder's change is passed on for the
    // files in it that look otherwise now.
    struct Seen {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const Seen&) const = default;
    };
    static Seen look(const QString& file);
    void fileChanged(const QString& file);
    void folderChanged(const QString& folder);
    void report(const QString& file);

    QFileSystemWatcher watcher_;
    Listener listener_;
    std::vector<std::string> paths_;
    std::map<QString, Seen> seen_; // by the watched file's path
};

} // namespace sw::qt

#include "platform/qt/QtFileWatcher.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace sw::qt {

QtFileWatcher::QtFileWatcher() {
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged,
                     [this](const QString& file) { fileChanged(file); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged,
                     [this](const QString& folder) { folderChanged(folder); });
}

QtFileWatcher::Seen QtFileWatcher::look(const QString& file) {
    const QFileInfo info(file);
    if (!info.isFile())
        return {};
    return {true, info.size(), info.lastModified()};
}

void QtFileWatcher::watch(const std::vector<std::string>& paths) {
    if (paths == paths_)
        return;
    paths_ = paths;
    seen_.clear();
    for (const QStringList& watched : {watcher_.files(), watcher_.directories()})
        if (!watched.isEmpty())
            watcher_.removePaths(watched);
    QStringList files;
    QStringList folders;
    for (const std::string& path : paths) {
        const QString file = QFile::decodeName(QByteArray::fromStdString(path));
        seen_[file] = look(file);
        files << file;
        const QString folder = QFileInfo(file).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    // Paths that do not exist are refused with a warning on the console, which says nothing to
    // a user: only those that do are given.
    QStringList existing;
    for (const QString& path : files + folders)
        if (QFileInfo::exists(path))
            existing << path;
    if (!existing.isEmpty())
        watcher_.addPaths(existing);
}

void QtFileWatcher::report(const QString& file) {
    seen_[file] = look(file);
    if (seen_[file].exists && !watcher_.files().contains(file))
        watcher_.addPath(file);
    if (listener_)
        listener_(QFile::encodeName(file).toStdString());
}

void QtFileWatcher::fileChanged(const QString& file) {
    if (seen_.count(file) != 0)
        report(file);
}

void QtFileWatcher::folderChanged(const QString& folder) {
    std::vector<QString> changed;
    for (const auto& [file, seen] : seen_)
        if (QFileInfo(file).absolutePath() == folder && look(file) != seen)
            changed.push_back(file);
    for (const QString& file : changed)
        report(file);
}

} // namespace sw::qt

#include "FileWatch.h"

#include <QFileInfo>

namespace editor {

namespace {

// Long enough for a writer's few system calls, short enough to feel at once.
constexpr int kSettleMilliseconds = 100;

}  // namespace

FileWatch::FileWatch(QObject* parent) : QObject(parent) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, &FileWatch::changed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FileWatch::rearm);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FileWatch::rearm);
}

void FileWatch::watch(const QString& path) {
    const QString absolute = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    if (absolute == m_path) {
        return;
    }
    for (const QStringList& watched : {m_watcher.files(), m_watcher.directories()}) {
        if (!watched.isEmpty()) {
            m_watcher.removePaths(watched);
        }
    }
    m_path = absolute;
    if (!m_path.isEmpty()) {
        m_watcher.addPath(QFileInfo(m_path).absolutePath());
        rearm();
        m_settle.stop();
    }
}

// A file replaced by a rename is no longer the one watched: the new one is watched in its
// place.
void FileWatch::rearm() {
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path)) {
        m_watcher.addPath(m_path);
    }
    m_settle.start();
}

}  // namespace editor

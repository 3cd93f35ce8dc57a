#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace editor {

// Tells when the file at a path may have changed, while the window is in the background too:
// written in place, or replaced by a rename (the file and its folder are both watched, and
// the file is watched again once a new one has its name). A burst of changes is told once,
// a moment after the last.
class FileWatch : public QObject {
    Q_OBJECT
public:
    explicit FileWatch(QObject* parent = nullptr);

    // Watches the file at `path` from now on; an empty path watches nothing.
    void watch(const QString& path);

Q_SIGNALS:
    void changed();

private:
    void rearm();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
};

}  // namespace editor

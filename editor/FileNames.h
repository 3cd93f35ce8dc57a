#pragma once

#include <filesystem>

#include <QByteArray>
#include <QFile>
#include <QString>

namespace editor {

// The file system's bytes of a name, as every file operation and the report's first line
// use them.
[[nodiscard]] inline QByteArray nativeName(const QString& name) {
    return QFile::encodeName(name);
}

[[nodiscard]] inline std::filesystem::path toPath(const QString& name) {
    return std::filesystem::path(nativeName(name).toStdString());
}

}  // namespace editor

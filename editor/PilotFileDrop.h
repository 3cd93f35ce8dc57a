#pragma once

#include <QObject>
#include <QString>

class QMimeData;
class QWidget;

namespace editor {

// Lets the user drop one pilot file (a local file, as a file manager drags it) anywhere on
// the editor window. The window's edits would take the dragged file's name as text; they
// pass such a drag on to the window instead.
class PilotFileDrop : public QObject {
    Q_OBJECT
public:
    explicit PilotFileDrop(QWidget* window);

    // The one local file the data names, or an empty name.
    [[nodiscard]] static QString droppedFile(const QMimeData* data);

Q_SIGNALS:
    void dropped(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
};

}  // namespace editor

#pragma once

#include <optional>

#include <QByteArray>
#include <QDialog>
#include <QString>

namespace ui {

class DialogService;

// The links of the About box.
inline constexpr auto kWebAddress = "https://vessk.example/brevanta";
inline constexpr auto kMailAddress = "brevanta@vessk.example";

// The memory available in KiB from the text of /proc/meminfo ("MemAvailable:  812 kB"),
// or nothing when the line is missing or unreadable.
[[nodiscard]] std::optional<qint64> availableMemoryKiB(const QByteArray& meminfo);

// The system line about memory: "Memory available: 812 KB", or "unknown" in place of the
// number.
[[nodiscard]] QString memoryLine(std::optional<qint64> kibibytes);

// The modal About box: icon, company and product lines, version, copyright, a web and an
// e-mail link, and the system lines (operating system, memory available). A link the
// desktop cannot open is reported through `dialogs`.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(DialogService& dialogs, QWidget* parent = nullptr);
};

}  // namespace ui

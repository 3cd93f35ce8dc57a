#include "AboutBox.h"

#include <QDesktopServices>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSysInfo>
#include <QUrl>
#include <QVBoxLayout>

#include "DialogService.h"
#include "Pictures.h"

namespace ui {

namespace {

QLabel* addLine(QVBoxLayout* lines, const QString& objectName, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(objectName);
    lines->addWidget(label);
    return label;
}

// A link label that hands its address to the desktop (browser or mail program). When the
// desktop has no program for it, the user is told so and given the address to copy.
void addLink(QVBoxLayout* lines, DialogService& dialogs, const QString& objectName,
             const QString& address, const QString& shown, const QString& failure) {
    QLabel* label =
        addLine(lines, objectName, QStringLiteral("<a href=\"%1\">%2</a>").arg(address, shown));
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QObject::connect(label, &QLabel::linkActivated, label,
                     [label, &dialogs, shown, failure](const QString& link) {
                         if (!QDesktopServices::openUrl(QUrl(link))) {
                             dialogs.showUnopenedAddress(label->window(), failure, shown);
                         }
                     });
}

std::optional<qint64> readAvailableMemory() {
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return availableMemoryKiB(meminfo.readAll());
}

}  // namespace

std::optional<qint64> availableMemoryKiB(const QByteArray& meminfo) {
    const QByteArray key("MemAvailable:");
    for (const QByteArray& line : meminfo.split('\n')) {
        if (!line.startsWith(key)) {
            continue;
        }
        QByteArray value = line.mid(key.size()).trimmed();
        if (value.endsWith(" kB")) {
            value.chop(3);
        }
        bool ok = false;
        const qint64 kibibytes = value.trimmed().toLongLong(&ok);
        return ok && kibibytes >= 0 ? std::optional(kibibytes) : std::nullopt;
    }
    return std::nullopt;
}

QString memoryLine(std::optional<qint64> kibibytes) {
    const QString amount =
        kibibytes ? QLocale(QLocale::English).toString(*kibibytes) + QStringLiteral(" KB")
                  : QStringLiteral("unknown");
    return QStringLiteral("Memory available: ") + amount;
}

AboutBox::AboutBox(DialogService& dialogs, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Brevanta"));
    setModal(true);
    const QIcon icon = picture(QStringLiteral("brevanta"));
    setWindowIcon(icon);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(16);
    auto* iconLabel = new QLabel;
    iconLabel->setObjectName(QStringLiteral("ProgramIcon"));
    iconLabel->setPixmap(icon.pixmap(48, 48));
    layout->addWidget(iconLabel, 0, 0, Qt::AlignTop);
    auto* lines = new QVBoxLayout;
    lines->setSpacing(4);
    layout->addLayout(lines, 0, 1);

    addLine(lines, QStringLiteral("CompanyLabel"), QStringLiteral("Vessk Computing presents:"));
    QLabel* product = addLine(lines, QStringLiteral("ProductLabel"), QStringLiteral("Brevanta"));
    QFont productFont = product->font();
    productFont.setBold(true);
    productFont.setPointSize(productFont.pointSize() + 6);
    product->setFont(productFont);
    addLine(lines, QStringLiteral("VersionLabel"), QStringLiteral("Version 1.0 Release"));
    addLine(lines, QStringLiteral("CopyrightLabel"),
            QStringLiteral("Copyright \u00A9 2026 Vessk Computing"));
    const QString web = QString::fromLatin1(kWebAddress);
    addLink(lines, dialogs, QStringLiteral("WebLink"), web, web,
            QStringLiteral("No web browser could be started for this address."));
    const QString mail = QString::fromLatin1(kMailAddress);
    addLink(lines, dialogs, QStringLiteral("MailLink"), QStringLiteral("mailto:") + mail, mail,
            QStringLiteral("No mail program could be started for this address."));
    addLine(lines, QStringLiteral("SystemLabel"),
            QStringLiteral("Operating system: ") + QSysInfo::prettyProductName());
    addLine(lines, QStringLiteral("MemoryLabel"), memoryLine(readAvailableMemory()));

    auto* ok = new QPushButton(QStringLiteral("&OK"));
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 1, 0, 1, 2, Qt::AlignHCenter);
}

}  // namespace ui

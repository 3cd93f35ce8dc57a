// The desktop's dialogs behind the dialog seam, driven as a user drives them: the file
// dialog, the error box and the About box.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSysInfo>
#include <QTimer>
#include <QUrl>

#include "AboutBox.h"
#include "DialogService.h"
#include "TestFiles.h"
#include "WindowFixture.h"

namespace {

using testing_support::latin;
using testing_support::qpath;
using testing_support::TempDir;
using testing_support::writeBytes;

// that is open when its turn comes.
class DialogUser : public QObject {
public:
    using Step = std::function<void(QWidget* modal)>;
    explicit DialogUser(std::vector<Step> steps) : m_steps(std::move(steps)) {
        connect(&m_timer, &QTimer::timeout, this, &DialogUser::act);
        m_timer.start(5);
    }
    [[nodiscard]] bool done() const { return m_next == m_steps.size(); }

private:
    void act() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_lastModal || done()) {
            return;
        }
        m_lastModal = modal;
        m_steps[m_next++](modal);
    }
    QTimer m_timer;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QWidget* m_lastModal = nullptr;
};

DialogUser::Step typeName(QString name, int type = -1) {
    return [name, type](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        if (type >= 0) {
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            types->setCurrentIndex(type);
            // What the combo box emits on the user's choice.
            Q_EMIT types->activated(type);
            Q_EMIT types->textActivated(types->itemText(type));
        }
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
        QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
    };
}

DialogUser::Step answer(QMessageBox::StandardButton button) {
    return [button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        box->button(button)->click();
    };
}

DialogUser::Step cancel() {
    return [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); };
}

std::optional<ui::FileChoice> runDialog(const ui::FileDialogOptions& options,
                                        const QString& initialName, int initialFilter,
                                        std::vector<DialogUser::Step> steps) {
    DialogUser user(std::move(steps));
    ui::QtDialogService service;
    auto choice = service.chooseFile(nullptr, options, initialName, initialFilter);
    EXPECT_TRUE(user.done());
    return choice;
}

// The real dialog: the extension added to a bare name follows the chosen type, a name that
// exists needs a confirmed overwrite, a name that does not exist a confirmed creation; the
// Open dialog takes any name, existing or not, without a question.
TEST(QtFileDialog, AddsTheChosenTypesExtensionAndAsksWhereConfigured) {
    TempDir dir;
    writeBytes(dir / "old.TFR", std::string("x"));
    const QString folder = qpath(dir.path()) + u'/';
    const ui::FileDialogOptions save{
        .mode = ui::FileDialogOptions::Mode::Save,
        .title = QStringLiteral("Save Pilotfile"),
        .filters = {QStringLiteral("TFR File (*.TFR)"), QStringLiteral("Text File (*.TXT)")},
        .defaultSuffix = QStringLiteral("TFR"),
        .confirmOverwrite = true};
    ui::FileDialogOptions create = save;
    create.confirmCreate = true;
    create.confirmOverwrite = false;
    const ui::FileDialogOptions open{.mode = ui::FileDialogOptions::Mode::Open,
                                     .title = QStringLiteral("Load Pilotfile"),
                                     .filters = {QStringLiteral("TFR Files (*.TFR)")},
                                     .defaultSuffix = QStringLiteral("TFR")};
    using Button = QMessageBox::StandardButton;
    const struct {
        const char* what;
        const ui::FileDialogOptions& options;
        int initialFilter;
        std::vector<DialogUser::Step> steps;
        std::optional<ui::FileChoice> expected;
    } cases[] = {
        {"bare name, first type",
         save,
         0,
         {typeName(QStringLiteral("ace"))},
         ui::FileChoice{folder + QStringLiteral("ace.TFR"), 0}},
        {"bare name, text type",
         save,
         0,
         {typeName(QStringLiteral("ace"), 1)},
         ui::FileChoice{folder + QStringLiteral("ace.TXT"), 1}},
        {"remembered text type",
         save,
         1,
         {typeName(QStringLiteral("ace"))},
         ui::FileChoice{folder + QStringLiteral("ace.TXT"), 1}},
        {"name with a point",
         save,
         1,
         {typeName(QStringLiteral("report.text"))},
         ui::FileChoice{folder + QStringLiteral("report.text"), 1}},
        {"overwrite declined",
         save,
         0,
         {typeName(QStringLiteral("old.TFR")), answer(Button::No), cancel()},
         std::nullopt},
        {"overwrite confirmed",
         save,
         0,
         {typeName(QStringLiteral("old.TFR")), answer(Button::Yes)},
         ui::FileChoice{folder + QStringLiteral("old.TFR"), 0}},
        {"creation declined, then confirmed",
         create,
         0,
         {typeName(QStringLiteral("new.TXT"), 1), answer(Button::No),
          typeName(QStringLiteral("new.TXT")), answer(Button::Yes)},
         ui::FileChoice{folder + QStringLiteral("new.TXT"), 1}},
        {"cancel", save, 0, {cancel()}, std::nullopt},
        // The Open dialog lets a missing name through: the load reports it.
        {"open, a missing name",
         open,
         0,
         {typeName(QStringLiteral("missing"))},
         ui::FileChoice{folder + QStringLiteral("missing.TFR"), 0}},
        {"open, an existing name",
         open,
         0,
         {typeName(QStringLiteral("old.TFR"))},
         ui::FileChoice{folder + QStringLiteral("old.TFR"), 0}},
    };
    for (const auto& run : cases) {
        SCOPED_TRACE(run.what);
        const auto choice =
            runDialog(run.options, folder + QStringLiteral("start"), run.initialFilter, run.steps);
        ASSERT_EQ(choice.has_value(), run.expected.has_value());
        if (choice) {
            EXPECT_EQ(choice->path.toStdString(), run.expected->path.toStdString());
            EXPECT_EQ(choice->filterIndex, run.expected->filterIndex);
        }
    }
}

// The error box and the About box of the desktop, each closed by its OK button.
TEST(QtDialogs, ErrorAndAboutBoxesAreModalWithTheirCaptionsAndOk) {
    struct Seen {
        QString className;
        QString title;
        QString text;
        QString informativeText;
        bool modal = false;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString buttons;
    };
    const auto look = [](Seen& seen) {
        return [&seen](QWidget* modal) {
            seen.className = QString::fromLatin1(modal->metaObject()->className());
            seen.title = modal->windowTitle();
            seen.modal = modal->isModal();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen.text = box->text();
                seen.informativeText = box->informativeText();
                seen.icon = box->icon();
            }
            QStringList buttons;
            for (auto* button : modal->findChildren<QPushButton*>()) {
                buttons << button->text().remove(u'&');
            }
            seen.buttons = buttons.join(u'|');
            if (auto* button = modal->findChildren<QPushButton*>().value(0)) {
                button->click();
            }
        };
    };
    ui::QtDialogService service;
    Seen error;
    {
        DialogUser user({look(error)});
        service.showError(nullptr, QStringLiteral("Datei nicht gefunden."),
                          QStringLiteral("/pilots/ace.TFR"));
        EXPECT_TRUE(user.done());
    }
    EXPECT_EQ(error.className, QStringLiteral("QMessageBox"));
    EXPECT_EQ(error.title, QStringLiteral("Brevanta"));
    EXPECT_EQ(error.text, QStringLiteral("Datei nicht gefunden."));
    EXPECT_EQ(error.informativeText, QStringLiteral("/pilots/ace.TFR"));
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons, QStringLiteral("OK"));
    EXPECT_TRUE(error.modal);

    Seen about;
    {
        DialogUser user({look(about)});
        service.showAbout(nullptr);
        EXPECT_TRUE(user.done());
    }
    EXPECT_EQ(about.className, QStringLiteral("ui::AboutBox"));
    EXPECT_EQ(about.title, QStringLiteral("About Brevanta"));
    EXPECT_EQ(about.buttons, QStringLiteral("OK"));
    EXPECT_TRUE(about.modal);
}

// Receives the addresses the About box hands to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.push_back(url); }
};

TEST(AboutBox, ShowsItsLinesAndOpensItsLinks) {
    testing_support::FakeDialogs dialogs;
    ui::AboutBox box(dialogs);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Brevanta"));
    EXPECT_TRUE(box.isModal());
    const auto text = [&](const char* name) {
        auto* label = box.findChild<QLabel*>(latin(name));
        return label == nullptr ? QStringLiteral("<missing>") : label->text();
    };
    EXPECT_EQ(text("CompanyLabel"), QStringLiteral("Vessk Computing presents:"));
    EXPECT_EQ(text("ProductLabel"), QStringLiteral("Brevanta"));
    EXPECT_EQ(text("VersionLabel"), QStringLiteral("Version 1.0 Release"));
    EXPECT_EQ(text("CopyrightLabel"), QStringLiteral("Copyright \u00A9 2026 Vessk Computing"));
    EXPECT_TRUE(text("SystemLabel").endsWith(QSysInfo::prettyProductName()));
    EXPECT_TRUE(text("MemoryLabel").startsWith(QStringLiteral("Memory available: ")));
    EXPECT_FALSE(box.findChild<QLabel*>(QStringLiteral("ProgramIcon"))->pixmap().isNull());

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    for (const char* link : {"WebLink", "MailLink"}) {
        auto* label = box.findChild<QLabel*>(latin(link));
        ASSERT_NE(label, nullptr);
        const QString address = label->text().section(u'"', 1, 1);
        Q_EMIT label->linkActivated(address);
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    EXPECT_EQ(catcher.urls, (std::vector<QUrl>{QUrl(QString::fromLatin1(ui::kWebAddress)),
                                               QUrl(QStringLiteral("mailto:") +
                                                    QString::fromLatin1(ui::kMailAddress))}));

    auto* ok = box.findChild<QPushButton*>(QStringLiteral("OkButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    ok->click();
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBox, ReadsTheAvailableMemory) {
    const struct {
        const char* meminfo;
        std::optional<qint64> kibibytes;
        const char* line;
    } cases[] = {
        {"MemTotal:  16000 kB\nMemFree: 100 kB\nMemAvailable:    812345 kB\n", 812345,
         "Memory available: 812,345 KB"},
        {"MemAvailable: 0 kB", 0, "Memory available: 0 KB"},
        {"MemTotal:  16000 kB\n", std::nullopt, "Memory available: unknown"},
        {"MemAvailable: lots kB\n", std::nullopt, "Memory available: unknown"},
        {"MemAvailable: -5 kB\n", std::nullopt, "Memory available: unknown"},
        {"", std::nullopt, "Memory available: unknown"},
    };
    for (const auto& sample : cases) {
        SCOPED_TRACE(sample.meminfo);
        const auto kibibytes = ui::availableMemoryKiB(QByteArray(sample.meminfo));
        EXPECT_EQ(kibibytes, sample.kibibytes);
        EXPECT_EQ(ui::memoryLine(kibibytes), latin(sample.line));
    }
}

}  // namespace

#include "ui_dialogs_test.moc"

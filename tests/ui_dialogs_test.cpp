// The desktop's dialogs behind the dialog seam, driven as a user drives them: the file
// dialog, the error box and the About box.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include "AboutBox.h"
#include "DialogService.h"
#include "PilotRecord.h"
#include "TForm2.h"
#include "TestFiles.h"
#include "WindowFixture.h"

namespace {

using testing_support::latin;
using testing_support::qpath;
using testing_support::TempDir;
using testing_support::writeBytes;

// Plays the user in front of the real modal dialogs: each step acts on the modal window
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

// The questions that guard the user's work, answered with each of their buttons.
TEST(QtDialogs, QuestionsOfferTheirButtonsAndReturnTheAnswer) {
    struct Seen {
        QString title;
        QString text;
        QString detail;
        QStringList buttons;
        QString defaultButton;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QWidget* parent = nullptr;
        QString letters;  // each button's letter for the keyboard, in the buttons' order
    };
    // Looks at the box, then presses the button with the text given (Escape when empty, the
    // letter with Alt for "&x").
    const auto pressing = [](Seen& seen, QString pressed) {
        return [&seen, pressed](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            seen.title = box->windowTitle();
            seen.text = box->text();
            seen.detail = box->informativeText();
            seen.icon = box->icon();
            seen.parent = box->parentWidget();
            for (QAbstractButton* button : box->buttons()) {
                seen.buttons << button->text().remove(u'&');
                const qsizetype mark = button->text().indexOf(u'&');
                seen.letters += mark >= 0 ? button->text()[mark + 1].toLower() : QChar(u'?');
            }
            seen.buttons.sort();
            seen.defaultButton = box->defaultButton()->text().remove(u'&');
            if (pressed.isEmpty()) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            // A letter reaches the buttons of the active window only; a box that never got
            // there fails the test, and is answered by Escape so that it does not block it.
            if (pressed.startsWith(u'&')) {
                box->activateWindow();
                if (!QTest::qWaitForWindowActive(box)) {
                    ADD_FAILURE() << "the box did not become active";
                    QTest::keyClick(box, Qt::Key_Escape);
                    return;
                }
                QTest::keyClick(box, pressed[1].toLatin1(), Qt::AltModifier);
                return;
            }
            for (QAbstractButton* button : box->buttons()) {
                if (button->text().remove(u'&') == pressed) {
                    button->click();
                }
            }
        };
    };
    QWidget owner;
    ui::QtDialogService service;
    const struct {
        const char* pressed;
        ui::SaveChoice choice;
    } saveAnswers[] = {{"Save", ui::SaveChoice::Save},     {"Discard", ui::SaveChoice::Discard},
                       {"Cancel", ui::SaveChoice::Cancel}, {"", ui::SaveChoice::Cancel},
                       {"&s", ui::SaveChoice::Save},       {"&d", ui::SaveChoice::Discard},
                       {"&c", ui::SaveChoice::Cancel}};
    for (const auto& answer : saveAnswers) {
        SCOPED_TRACE(answer.pressed);
        Seen seen;
        DialogUser user({pressing(seen, latin(answer.pressed))});
        const QString detail = QStringLiteral("Save would change:\nRank: Captain \u2192 General");
        EXPECT_EQ(
            service.askSaveChanges(&owner, QStringLiteral("Save changes to ace.TFR?"), detail),
            answer.choice);
        EXPECT_TRUE(user.done());
        EXPECT_EQ(seen.title, QStringLiteral("Brevanta"));
        EXPECT_EQ(seen.text, QStringLiteral("Save changes to ace.TFR?"));
        EXPECT_EQ(seen.detail, detail);
        EXPECT_EQ(seen.buttons, (QStringList{QStringLiteral("Cancel"), QStringLiteral("Discard"),
                                             QStringLiteral("Save")}));
        EXPECT_EQ(seen.defaultButton, QStringLiteral("Save"));
        EXPECT_EQ(QString(seen.letters).remove(u'?').size(), 3) << seen.letters.toStdString();
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
        EXPECT_EQ(seen.parent, &owner);
    }
    // The question before an existing file is replaced: Cancel is its default.
    const std::pair<const char*, bool> replaceAnswers[] = {
        {"Replace", true}, {"Cancel", false}, {"", false}, {"&r", true}, {"&c", false}};
    for (const auto& [pressed, accepts] : replaceAnswers) {
        SCOPED_TRACE(pressed);
        Seen seen;
        DialogUser user({pressing(seen, latin(pressed))});
        const QString question = QStringLiteral("Noname.TFR already exists. Replace it?");
        EXPECT_EQ(service.askReplace(&owner, question), accepts);
        EXPECT_TRUE(user.done());
        EXPECT_EQ(seen.text, question);
        EXPECT_EQ(seen.buttons, (QStringList{QStringLiteral("Cancel"), latin("Replace")}));
        EXPECT_EQ(seen.defaultButton, QStringLiteral("Cancel"));
        EXPECT_EQ(seen.parent, &owner);
        EXPECT_EQ(QString(seen.letters).remove(u'?').size(), 2) << seen.letters.toStdString();
    }
    // The question before a file another program changed is written over: Merge, which
    // loses nothing, is its default; Reload says whether it drops unsaved edits.
    using ui::ChangedFileChoice;
    const struct {
        const char* pressed;
        bool unsavedEdits;
        ChangedFileChoice choice;
    } changedAnswers[] = {
        {"Merge", true, ChangedFileChoice::Merge},
        {"Drop My Changes and Reload", true, ChangedFileChoice::Reload},
        {"Reload", false, ChangedFileChoice::Reload},
        {"Overwrite Their Changes", true, ChangedFileChoice::Overwrite},
        {"Cancel", true, ChangedFileChoice::Cancel},
        {"", false, ChangedFileChoice::Cancel},
        {"&m", true, ChangedFileChoice::Merge},
        {"&r", false, ChangedFileChoice::Reload},
        {"&o", true, ChangedFileChoice::Overwrite},
    };
    for (const auto& answer : changedAnswers) {
        SCOPED_TRACE(answer.pressed);
        Seen seen;
        DialogUser user({pressing(seen, latin(answer.pressed))});
        const QString question =
            QStringLiteral("ace.TFR was changed by another program since it was opened.");
        EXPECT_EQ(service.askChangedOnDisk(&owner, question, answer.unsavedEdits), answer.choice);
        EXPECT_TRUE(user.done());
        EXPECT_EQ(seen.text, question);
        QStringList buttons = {
            latin("Cancel"), latin("Merge"), latin("Overwrite Their Changes"),
            answer.unsavedEdits ? latin("Drop My Changes and Reload") : latin("Reload")};
        buttons.sort();
        EXPECT_EQ(seen.buttons, buttons);
        EXPECT_EQ(seen.defaultButton, QStringLiteral("Merge"));
        EXPECT_EQ(seen.parent, &owner);
        EXPECT_EQ(QString(seen.letters).remove(u'?').size(), 4) << seen.letters.toStdString();
    }
}

// The conflicts of a merge, decided by the keyboard alone: a row's choice, every row's, and
// Cancel, which decides nothing.
TEST(QtDialogs, ConflictsAreDecidedRowByRowOrAllAtOnce) {
    const std::vector<ui::ConflictRow> rows = {
        {latin("Skill"), latin("Skill"), latin("12"), latin("1001"), latin("77")},
        {latin("Rank"), latin("Rank"), latin("Flight Cadet"), latin("Captain"), latin("Commander")},
        {latin("Kills of T/F"), latin("ShipKills[0]"), latin("0"), latin("3"), latin("5")},
    };
    using Keys = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>;
    const struct {
        const char* what;
        Keys keys;
        std::optional<std::vector<bool>> decided;
    } cases[] = {
        {"all mine by default",
         {{Qt::Key_Return, Qt::NoModifier}},
         std::vector{false, false, false}},
        {"the second row theirs",
         {{Qt::Key_Down, Qt::NoModifier},
          {Qt::Key_T, Qt::AltModifier},
          {Qt::Key_Return, Qt::NoModifier}},
         std::vector{false, true, false}},
        {"all theirs, then the first mine again",
         {{Qt::Key_L, Qt::AltModifier}, {Qt::Key_K, Qt::AltModifier}, {Qt::Key_M, Qt::AltModifier}},
         std::vector{false, true, true}},
        {"all theirs, then all mine",
         {{Qt::Key_L, Qt::AltModifier},
          {Qt::Key_A, Qt::AltModifier},
          {Qt::Key_Return, Qt::NoModifier}},
         std::vector{false, false, false}},
        {"cancelled",
         {{Qt::Key_L, Qt::AltModifier}, {Qt::Key_Escape, Qt::NoModifier}},
         std::nullopt},
    };
    QWidget owner;
    ui::QtDialogService service;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList merged;
        DialogUser user({[&](QWidget* modal) {
            ASSERT_EQ(modal->objectName(), latin("ConflictDialog"));
            modal->activateWindow();
            if (!QTest::qWaitForWindowActive(modal)) {
                ADD_FAILURE() << "the dialog did not become active";
                QTest::keyClick(modal, Qt::Key_Escape);
                return;
            }
            auto* table = modal->findChild<QTableWidget*>(latin("ConflictTable"));
            ASSERT_EQ(table->rowCount(), 3);
            EXPECT_EQ(table->item(1, 4)->text(), latin("Commander"));
            for (std::size_t i = 0; i < c.keys.size(); ++i) {
                if (i + 1 == c.keys.size()) {  // the merged values as the user decides
                    for (int row = 0; row < table->rowCount(); ++row) {
                        merged << table->item(row, 5)->text();
                    }
                }
                QTest::keyClick(QApplication::focusWidget(), c.keys[i].first, c.keys[i].second);
                if (c.keys[i].second == Qt::AltModifier) {
                    // A button's letter clicks it animated, a moment later.
                    constexpr int kAnimatedClick = 250;
                    QTest::qWait(kAnimatedClick);
                }
            }
        }});
        EXPECT_EQ(service.decideConflicts(&owner, rows), c.decided);
        EXPECT_TRUE(user.done());
        if (c.decided) {
            for (std::size_t row = 0; row < rows.size(); ++row) {
                EXPECT_EQ(merged.value(static_cast<int>(row)),
                          (*c.decided)[row] ? rows[row].theirs + latin(" (theirs)")
                                            : rows[row].mine + latin(" (mine)"));
            }
        }
    }
}

// An address the desktop could not open is shown as text to select and copy.
TEST(QtDialogs, AnUnopenedAddressIsSelectable) {
    ui::QtDialogService service;
    bool selectable = false;
    QString informative;
    DialogUser user({[&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        informative = box->informativeText();
        for (auto* label : box->findChildren<QLabel*>()) {
            if (label->text() == QString::fromLatin1(ui::kWebAddress)) {
                selectable = label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse);
            }
        }
        box->button(QMessageBox::Ok)->click();
    }});
    service.showUnopenedAddress(nullptr, QStringLiteral("No web browser could be started."),
                                QString::fromLatin1(ui::kWebAddress));
    EXPECT_TRUE(user.done());
    EXPECT_EQ(informative, QString::fromLatin1(ui::kWebAddress));
    EXPECT_TRUE(selectable);
}

// The form window stays on top: the question before a new form file is created belongs to
// it (not to the file dialog, closed by then), so that the desktop shows it above the form.
TEST(QtDialogs, TheFormsCreateQuestionShowsAboveTheForm) {
    TempDir dir;
    const pilot::PilotRecord record;
    ui::QtDialogService service;
    bsfwindow::TForm2 form(record, service);
    form.handOver({});
    ASSERT_TRUE(form.isVisible());
    QWidget* parent = nullptr;
    QWindow* transientParent = nullptr;
    bool formShown = false;
    DialogUser user({typeName(qpath(dir / "new.TXT")),
                     [&](QWidget* modal) {
                         parent = modal->parentWidget();
                         transientParent = modal->windowHandle()->transientParent();
                         formShown = form.isVisible();
                         qobject_cast<QMessageBox*>(modal)->button(QMessageBox::No)->click();
                     },
                     cancel()});
    form.BitBtn2Click();
    EXPECT_TRUE(user.done());
    EXPECT_EQ(parent, &form);
    EXPECT_EQ(transientParent, form.windowHandle());
    EXPECT_TRUE(formShown);
    EXPECT_FALSE(std::filesystem::exists(dir / "new.TXT"));
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

    EXPECT_TRUE(dialogs.unopened.empty());

    auto* ok = box.findChild<QPushButton*>(QStringLiteral("OkButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("&OK"));  // "OK", with its letter for Alt+O
    ok->click();
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

// Without a program for the address (none on the offscreen desktop), the box says so and
// shows the address.
TEST(AboutBox, ALinkTheDesktopCannotOpenIsShownAsText) {
    testing_support::FakeDialogs dialogs;
    ui::AboutBox box(dialogs);
    for (const char* link : {"WebLink", "MailLink"}) {
        auto* label = box.findChild<QLabel*>(latin(link));
        ASSERT_NE(label, nullptr);
        Q_EMIT label->linkActivated(label->text().section(u'"', 1, 1));
    }
    ASSERT_EQ(dialogs.unopened.size(), 2u);
    EXPECT_EQ(dialogs.unopened[0],
              std::make_pair(QStringLiteral("No web browser could be started for this address."),
                             QString::fromLatin1(ui::kWebAddress)));
    EXPECT_EQ(dialogs.unopened[1],
              std::make_pair(QStringLiteral("No mail program could be started for this address."),
                             QString::fromLatin1(ui::kMailAddress)));
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

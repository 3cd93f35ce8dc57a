// The storage commands through the editor window: open, save, save as, New Pilot, their
// dialogs, and what a failed load or write leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include <QDir>
#include <QPushButton>
#include <QTest>

#include "PilotReport.h"
#include "WindowFixture.h"

namespace {

namespace fs = std::filesystem;
using pilot::PilotRecord;
using testing_support::bytesOf;
using testing_support::latin;
using testing_support::namesIn;
using testing_support::qpath;
using testing_support::readBytes;
using testing_support::showableRecord;
using testing_support::TempDir;
using testing_support::WindowShell;
using testing_support::writeBytes;
using testing_support::writeRecord;

TEST_F(WindowShell, OpenThenSaveKeepsEveryByteAndClearsTheMark) {
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const PilotRecord pilot = showableRecord(seed);
        const fs::path path = dir / ("pilot" + std::to_string(seed) + ".TFR");
        writeRecord(path, pilot);
        window->MarkChanged();
        open(path);
        EXPECT_EQ(window->record(), pilot);
        EXPECT_EQ(title(), titleFor(path));
        EXPECT_EQ(changedPanel(), QString());
        window->MarkChanged();
        EXPECT_EQ(changedPanel(), QStringLiteral("CHANGED"));
        trigger("SaveToolbarButton");
        EXPECT_EQ(readBytes(path), bytesOf(pilot));
        EXPECT_EQ(changedPanel(), QString());
        EXPECT_EQ(title(), titleFor(path));
    }
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(WindowShell, FailedLoadChangesNothingAndSaveKeepsTheShownFile) {
    const PilotRecord pilot = showableRecord(7);
    const fs::path good = dir / "good.TFR";
    writeRecord(good, pilot);
    writeBytes(dir / "short.TFR", std::string(1927, 'x'));
    writeBytes(dir / "empty.TFR", std::string());
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"short.TFR", "Lesen nach Dateiende (EOF)"},
        {"empty.TFR", "Lesen nach Dateiende (EOF)"},
        {"missing.TFR", "Datei nicht gefunden."},
        {"no-folder/pilot.TFR", "Ung\u00fcltiger Dateiname."},
    };
    for (const auto& failing : cases) {
        SCOPED_TRACE(failing.name);
        open(good);
        window->MarkChanged();
        dialogs.errors.clear();
        open(dir / failing.name);
        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(dialogs.errors[0], QString::fromUtf8(failing.message));
        EXPECT_EQ(dialogs.errors[0].file, qpath(dir / failing.name));
        EXPECT_EQ(window->record(), pilot);
        EXPECT_EQ(window->CurrentFileName(), qpath(good));
        EXPECT_EQ(title(), titleFor(good));
        EXPECT_EQ(changedPanel(), QStringLiteral("CHANGED"));
        trigger("SaveTFR1");
        EXPECT_EQ(readBytes(good), bytesOf(pilot));
    }
    EXPECT_EQ(readBytes(dir / "short.TFR").size(), 1927u);
    EXPECT_EQ(readBytes(dir / "empty.TFR").size(), 0u);
    EXPECT_FALSE(fs::exists(dir / "missing.TFR"));
}

// Every file command sets the name, the title, the CHANGED mark and what counts as unsaved
// together; only the text report leaves the edits unsaved, under the pilot's new name.
TEST_F(WindowShell, EachFileCommandSetsNameTitleAndCleanStateTogether) {
    const fs::path pilotPath = dir / "pilot.TFR";
    const fs::path otherPath = dir / "other.TFR";
    const struct {
        const char* command;
        std::function<void()> run;
        fs::path name;
        bool editsUnsaved;
    } cases[] = {
        {"Open",
         [&] {
             dialogs.answerSaveChanges(ui::SaveChoice::Discard);
             open(otherPath);
         },
         otherPath, false},
        {"Save", [this] { trigger("SaveTFR1"); }, pilotPath, false},
        {"Save As TFR File", [&] { saveAs(dir / "copy", 0); }, dir / "copy.TFR", false},
        {"Save As Text File", [&] { saveAs(dir / "report.TXT", 1); }, dir / "report.TFR", true},
        {"New Pilot",
         [this] {
             dialogs.answerSaveChanges(ui::SaveChoice::Discard);
             trigger("ToolbarButton974");
         },
         "Noname.TFR", false},
        {"Reload",
         [&] {
             writeRecord(pilotPath, showableRecord(73));
             auto* notice = control("DiskChangeBar");
             ASSERT_TRUE(QTest::qWaitFor([notice] { return !notice->isHidden(); }));
             QTest::mouseClick(control<QPushButton>("ReloadButton"), Qt::LeftButton);
         },
         pilotPath, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        recreate({});
        writeRecord(pilotPath, showableRecord(71));
        writeRecord(otherPath, showableRecord(72));
        showActive();
        open(pilotPath);
        typeInto("Edit83", latin("1234"));
        ASSERT_TRUE(window->changed());
        ASSERT_TRUE(window->unsaved());

        c.run();
        EXPECT_EQ(window->CurrentFileName(), qpath(c.name));
        EXPECT_EQ(title(), titleFor(c.name));
        EXPECT_EQ(window->changed(), c.editsUnsaved);
        EXPECT_EQ(changedPanel().isEmpty(), !c.editsUnsaved);
        EXPECT_EQ(window->unsaved(), c.editsUnsaved);
        EXPECT_TRUE(dialogs.questionsAnswered());
        EXPECT_TRUE(dialogs.errors.empty());
    }
}

TEST_F(WindowShell, SaveWithoutANameAsksForOne) {
    trigger("SaveTFR1");  // cancelled
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].options.title, QStringLiteral("Save Pilotfile"));
    EXPECT_TRUE(namesIn(dir.path()).empty());
    EXPECT_EQ(title(), QStringLiteral("Brevanta"));

    dialogs.answer(qpath(dir / "first"));
    trigger("SaveFile1");
    EXPECT_EQ(readBytes(dir / "first.TFR"), bytesOf(PilotRecord()));
    EXPECT_EQ(title(), titleFor(dir / "first.TFR"));
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(WindowShell, NewPilotThenSaveWritesNonameInTheChosenFolder) {
    fs::create_directory(dir / "sub");
    writeRecord(dir / "sub" / "old.TFR", showableRecord(4));
    open(dir / "sub" / "old.TFR");
    EXPECT_EQ(fs::path(QDir::currentPath().toStdString()), dir / "sub");
    window->MarkChanged();

    trigger("ToolbarButton974");
    EXPECT_EQ(title(), QStringLiteral("Brevanta  [ Noname.TFR ]"));
    EXPECT_EQ(changedPanel(), QString());
    EXPECT_EQ(window->record(), PilotRecord::newPilot());

    window->MarkChanged();
    trigger("SaveToolbarButton");
    std::vector<std::uint8_t> expected(pilot::kRecordSize, 0);
    expected[3] = 1;
    std::fill(expected.begin() + 90, expected.begin() + 102, 2);
    EXPECT_EQ(readBytes(dir / "sub" / "Noname.TFR"), expected);
    EXPECT_EQ(changedPanel(), QString());
    EXPECT_EQ(title(), QStringLiteral("Brevanta  [ Noname.TFR ]"));
}

struct NamingCase {
    const char* chosen;
    int type;             // 0 "TFR File", 1 "Text File"
    const char* written;  // the file created
    const char* after;    // CurrentFileName afterwards
};

void PrintTo(const NamingCase& naming, std::ostream* out) {
    *out << naming.chosen << " as type " << naming.type + 1;
}

class SaveAsNaming : public WindowShell, public ::testing::WithParamInterface<NamingCase> {};

TEST_P(SaveAsNaming, WritesUnderTheRuleAndNamesThePilotFile) {
    const NamingCase& naming = GetParam();
    const fs::path source = dir / "source";
    fs::create_directory(source);
    writeRecord(source / "in.TFR", showableRecord(11));
    open(source / "in.TFR");
    window->MarkChanged();

    saveAs(dir / naming.chosen, naming.type);
    const fs::path written = dir / naming.written;
    const bool report = naming.type == 1;
    if (report) {
        EXPECT_EQ(testing_support::readText(written),
                  reports::pilotReport(window->record(), written.string()));
        EXPECT_EQ(changedPanel(), QStringLiteral("CHANGED"));
    } else {
        EXPECT_EQ(readBytes(written), bytesOf(window->record()));
        EXPECT_EQ(changedPanel(), QString());
    }
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"source", naming.written}));
    EXPECT_EQ(window->CurrentFileName(), qpath(dir / naming.after));
    EXPECT_EQ(title(), titleFor(dir / naming.after));
    EXPECT_TRUE(dialogs.errors.empty());

    // A later Save writes the record under the name shown, beside a report.
    trigger("SaveTFR1");
    EXPECT_EQ(readBytes(dir / naming.after), bytesOf(window->record()));
    if (report && std::string(naming.written) != naming.after) {
        EXPECT_EQ(testing_support::readText(written),
                  reports::pilotReport(window->record(), written.string()));
    }
}

INSTANTIATE_TEST_SUITE_P(Types, SaveAsNaming,
                         ::testing::Values(NamingCase{"ace", 0, "ace.TFR", "ace.TFR"},
                                           NamingCase{"ace.tfr", 0, "ace.tfr", "ace.tfr"},
                                           NamingCase{"x.txt", 0, "x.txt", "x.txt"},
                                           NamingCase{"ab", 0, "ab.TFR", "ab.TFR"},
                                           NamingCase{"ACE", 1, "ACE.TXT", "ACE.TFR"},
                                           NamingCase{"ace.txt", 1, "ace.txt", "ace.TFR"},
                                           NamingCase{"ace.doc", 1, "ace.doc", "ace.TFR"},
                                           NamingCase{"report.text", 1, "report.text.TXT",
                                                      "report.text.TFR"},
                                           NamingCase{"ab", 1, "ab.TXT", "ab.TFR"},
                                           NamingCase{"pilot.tfr", 1, "pilot.tfr", "pilot.TFR"}));

// The dialog asked about the name it showed; the file of the name the extension was added
// to is replaced only when the user says so.
TEST_F(WindowShell, SaveAsAsksBeforeReplacingTheFileItsExtensionNames) {
    const PilotRecord there = showableRecord(12);
    const PilotRecord shown = showableRecord(13);
    writeRecord(dir / "ace.bak1.TFR", there);
    writeRecord(dir / "in.TFR", shown);
    open(dir / "in.TFR");
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace);
        dialogs.answerReplace(replace);
        saveAs(dir / "ace.bak1", 0);
        ASSERT_EQ(dialogs.questions.size(), replace ? 2U : 1U);
        EXPECT_EQ(dialogs.questions.back().text, latin("ace.bak1.TFR already exists. Replace it?"));
        EXPECT_EQ(readBytes(dir / "ace.bak1.TFR"), bytesOf(replace ? shown : there));
    }
}

// Every way of writing a file that fails leaves the old file, the name, the title and the
// mark as they were.
TEST_F(WindowShell, FailedWritesKeepTheOldFileAndTheOldName) {
    constexpr int kPlainSave = -1;
    const PilotRecord pilot = showableRecord(5);
    const std::vector<std::uint8_t> otherBytes = bytesOf(showableRecord(6));
    const std::string oldPilot(otherBytes.begin(), otherBytes.end());
    const std::string oldReport = "old report\r\n";
    writeRecord(dir / "current.TFR", pilot);
    writeBytes(dir / "locked.TFR", oldPilot);
    writeBytes(dir / "locked.TXT", oldReport);
    fs::permissions(dir / "locked.TFR", fs::perms::owner_read);
    fs::permissions(dir / "locked.TXT", fs::perms::owner_read);
    testing_support::ReadOnlyMount mount(dir / "ro");
    const bool mounted =
        mount.mounted() && mount.populate({{"ro.TFR", oldPilot}, {"ro.TXT", oldReport}});

    const struct {
        const char* target;
        int type;
        bool needsMount;
    } cases[] = {
        {"locked.TFR", kPlainSave, false}, {"locked.TFR", 0, false}, {"locked.TXT", 1, false},
        {"ro/ro.TFR", kPlainSave, true},   {"ro/ro.TFR", 0, true},   {"ro/ro.TXT", 1, true},
    };
    for (const auto& failing : cases) {
        SCOPED_TRACE(std::string(failing.target) + " type " + std::to_string(failing.type));
        if (failing.needsMount && !mounted) {
            continue;
        }
        const fs::path target = dir / failing.target;
        // A write-protected pilot file still opens: a load only reads.
        const fs::path current = failing.type == kPlainSave ? target : dir / "current.TFR";
        const std::string old = testing_support::readText(target);
        open(current);
        window->MarkChanged();
        dialogs.errors.clear();
        if (failing.type == kPlainSave) {
            trigger("SaveTFR1");
        } else {
            saveAs(target, failing.type);
        }
        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(dialogs.errors[0], QStringLiteral("Dateizugriff verweigert."));
        EXPECT_EQ(testing_support::readText(target), old);
        EXPECT_EQ(window->CurrentFileName(), qpath(current));
        EXPECT_EQ(title(), titleFor(current));
        EXPECT_EQ(changedPanel(), QStringLiteral("CHANGED"));
    }
    if (!mounted) {
        GTEST_SKIP() << "no read-only tmpfs here; the write-protected file cases ran";
    }
}

TEST_F(WindowShell, DialogsCarryTheirSettingsAndRememberNameAndType) {
    writeRecord(dir / "a.TFR", showableRecord(8));
    open(dir / "a.TFR");
    trigger("File2");  // cancelled: remembers nothing new
    open(dir / "a.TFR");
    saveAs(dir / "b.TXT", 1);
    trigger("SaveAs2");  // cancelled
    saveAs(dir / "c.TFR", 0);
    ASSERT_EQ(dialogs.requests.size(), 6u);

    const auto& first = dialogs.requests[0].options;
    EXPECT_EQ(first.mode, ui::FileDialogOptions::Mode::Open);
    EXPECT_EQ(first.title, QStringLiteral("Load Pilotfile"));
    EXPECT_EQ(first.filters, QStringList{QStringLiteral("TFR Files (*.TFR)")});
    EXPECT_EQ(first.defaultSuffix, QStringLiteral("TFR"));
    EXPECT_FALSE(first.confirmOverwrite);
    EXPECT_FALSE(first.confirmCreate);
    const auto& save = dialogs.requests[3].options;
    EXPECT_EQ(save.mode, ui::FileDialogOptions::Mode::Save);
    EXPECT_EQ(save.title, QStringLiteral("Save Pilotfile"));
    EXPECT_EQ(save.filters, (QStringList{QStringLiteral("TFR File (*.TFR)"),
                                         QStringLiteral("Text File (*.TXT)")}));
    EXPECT_EQ(save.defaultSuffix, QStringLiteral("TFR"));
    EXPECT_TRUE(save.confirmOverwrite);

    const struct {
        QString name;
        int filter;
    } opened[] = {
        {QString(), 0}, {qpath(dir / "a.TFR"), 0}, {qpath(dir / "a.TFR"), 0},
        {QString(), 0}, {qpath(dir / "b.TXT"), 1}, {qpath(dir / "b.TXT"), 1},
    };
    for (std::size_t i = 0; i < std::size(opened); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dialogs.requests[i].initialName, opened[i].name);
        EXPECT_EQ(dialogs.requests[i].initialFilter, opened[i].filter);
    }
}

}  // namespace

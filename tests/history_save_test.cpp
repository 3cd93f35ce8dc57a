// Saves that keep what they replace: a version before every write over a pilot and none
// for identical bytes, and a history that cannot be written (every one of its system calls
// failed in turn, the process killed before each, a read-only or full state folder, a file
// where its folder should be) never stops or harms the save.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "FaultyCalls.h"
#include "History.h"
#include "PilotFileIO.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using pilot::IoError;
using pilot::PilotRecord;
using pilot::history::KeepFailure;
using pilot::history::Origin;
using pilot::history::PilotHistory;
using testing_support::callsFor;
using testing_support::FaultyCalls;
using testing_support::kModes;
using Mode = testing_support::FileSystemMode;
using testing_support::TempDir;
using testing_support::textOf;

const PilotRecord kOld = testing_support::patternedRecord(41);
const PilotRecord kNew = testing_support::patternedRecord(42);

PilotRecord promoted(PilotRecord record) {
    record.setU8(pilot::Field::Rank, 5);
    return record;
}

using Save = std::function<std::optional<IoError>(const fs::path&, const pilot::KeepReplaced&,
                                                  const pilot::SystemCalls&)>;

Save plainSave(const PilotRecord& record) {
    return [record](const fs::path& target, const pilot::KeepReplaced& keep,
                    const pilot::SystemCalls& os) {
        return pilot::savePilotFile(target, record, keep, os);
    };
}

Save checkedSave(const PilotRecord& record) {
    return [record](const fs::path& target, const pilot::KeepReplaced& keep,
                    const pilot::SystemCalls& os) {
        const auto loaded = pilot::loadPilotFileWithStamp(target);
        const pilot::ExpectedFile expected =
            std::holds_alternative<pilot::LoadedPilot>(loaded)
                ? pilot::ExpectedFile(std::get<pilot::LoadedPilot>(loaded).stamp)
                : pilot::ExpectedFile(pilot::NoFile{});
        return testing_support::errorOf(
            pilot::savePilotFileChecked(target, record, expected, keep, os));
    };
}

Save update(std::function<void(PilotRecord&)> edit) {
    return [edit](const fs::path& target, const pilot::KeepReplaced& keep,
                  const pilot::SystemCalls& os) {
        return pilot::updatePilotFile(target, edit, keep, os);
    };
}

// The versions in the pilot's history, newest first.
std::vector<PilotRecord> versionsOf(const PilotHistory& history) {
    std::vector<PilotRecord> records;
    auto entries = history.entries();
    for (const auto& entry : std::get<std::vector<pilot::history::Entry>>(entries)) {
        records.push_back(entry.record);
    }
    return records;
}

TEST(HistorySave, EveryWriteOverAPilotKeepsWhatItReplacesAndNoneKeepsIdenticalBytes) {
    struct Case {
        const char* what;
        std::optional<std::string> before;  // the file's content; nothing: no file
        Save save;
        std::vector<PilotRecord> kept;
        std::optional<std::string> failure;
    };
    const std::vector<Case> cases = {
        {"save over a pilot", textOf(kOld), plainSave(kNew), {kOld}, std::nullopt},
        {"save a new pilot", std::nullopt, plainSave(kNew), {}, std::nullopt},
        {"save the same bytes", textOf(kNew), plainSave(kNew), {}, std::nullopt},
        {"save over a longer file", textOf(kOld) + "tail", plainSave(kNew), {kOld}, std::nullopt},
        {"checked save", textOf(kOld), checkedSave(kNew), {kOld}, std::nullopt},
        {"set",
         textOf(kOld),
         update([](PilotRecord& r) { r = promoted(r); }),
         {kOld},
         std::nullopt},
        {"set the same value",
         textOf(promoted(kOld)),
         update([](PilotRecord& r) { r = promoted(r); }),
         {},
         std::nullopt},
        {"save over a file shorter than a pilot",
         std::string(10, 'x'),
         plainSave(kNew),
         {},
         "Lesen nach Dateiende (EOF)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const fs::path pilot = dir / "ACE.TFR";
        if (c.before) {
            testing_support::writeBytes(pilot, *c.before);
        }
        const PilotHistory history(dir / "history", pilot);
        std::optional<KeepFailure> failure;
        const pilot::PosixCalls os;
        ASSERT_EQ(c.save(pilot, history.keeper(Origin::Replaced, failure, os), os), std::nullopt);
        EXPECT_TRUE(versionsOf(history) == c.kept);
        EXPECT_EQ(failure ? std::optional(failure->reason) : std::nullopt, c.failure);
        if (failure) {
            EXPECT_EQ(failure->concerning, pilot);
        }
    }
}

// A history that cannot be written says why, and the save goes on.
TEST(HistorySave, AStateFolderThatCannotBeWrittenStopsNoSave) {
    struct Case {
        const char* what;
        std::function<bool(const TempDir&)> prepare;  // false: not possible here
        std::string reason;
    };
    std::optional<testing_support::ReadOnlyMount> readOnly;
    std::optional<testing_support::TinyDisk> full;
    const std::vector<Case> cases = {
        {"a read-only state folder",
         [&](const TempDir& dir) {
             readOnly.emplace(dir / "state");
             return readOnly->mounted();
         },
         "Dateizugriff verweigert."},
        {"a full state folder",
         [&](const TempDir& dir) {
             full.emplace(dir / "state");
             return full->mounted() && full->fill("filler");
         },
         "Kapazität der Diskette/Festplatte erschöpft."},
        {"a file where the state folder should be",
         [](const TempDir& dir) {
             testing_support::writeBytes(dir / "state", std::string("a file"));
             return true;
         },
         "Ungültiger Dateiname."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        if (!c.prepare(dir)) {
            std::cout << "skipped: " << c.what << " (cannot mount a tmpfs here)\n";
            continue;
        }
        testing_support::writeRecord(dir / "ACE.TFR", kOld);
        const PilotHistory history(dir / "state" / "brevanta" / "history", dir / "ACE.TFR");
        std::optional<KeepFailure> failure;
        const pilot::PosixCalls os;
        EXPECT_EQ(pilot::savePilotFile(dir / "ACE.TFR", kNew,
                                       history.keeper(Origin::Replaced, failure, os), os),
                  std::nullopt);
        EXPECT_TRUE(testing_support::readText(dir / "ACE.TFR") == textOf(kNew));
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->reason, c.reason);
        EXPECT_EQ(failure->concerning, history.folder());
        readOnly.reset();
        full.reset();
    }
}

// What a failed or killed save with history leaves: the old pilot or the new one, whole; a
// version of the old one whole or not at all; and nothing else.
void expectWholeOrAbsent(const TempDir& dir, const PilotHistory& history) {
    const std::string pilot = testing_support::readText(dir / "ACE.TFR");
    EXPECT_TRUE(pilot == textOf(kOld) || pilot == textOf(kNew)) << "torn pilot";
    for (const std::string& name : testing_support::namesIn(dir.path())) {
        // A killed save may leave its temporary file, which the next one removes.
        EXPECT_TRUE(name == "ACE.TFR" || name == "state" || name.ends_with(".brevanta-tmp"))
            << name;
    }
    if (!fs::exists(history.folder())) {
        return;
    }
    const auto versions = versionsOf(history);
    EXPECT_TRUE(versions.empty() || versions == std::vector<PilotRecord>{kOld})
        << versions.size() << " versions";
    for (const std::string& name : testing_support::namesIn(history.folder())) {
        if (name == "pilot-path") {
            EXPECT_EQ(testing_support::readText(history.folder() / name),
                      (dir / "ACE.TFR").string() + "\n");
        } else if (!name.ends_with(".brevanta-tmp")) {
            EXPECT_TRUE(pilot::history::parseEntryFileName(name).has_value()) << name;
        }
    }
}

TEST(HistorySaveFaults, EveryFailedCallLeavesAWholePilotAndAWholeOrNoVersion) {
    for (const Mode& mode : kModes) {
        int calls = 0;
        for (int number = 1;; ++number) {
            TempDir dir;
            testing_support::writeRecord(dir / "ACE.TFR", kOld);
            const PilotHistory history(dir / "state" / "history", dir / "ACE.TFR");
            FaultyCalls os = callsFor(mode);
            os.failAt(number);
            std::optional<KeepFailure> failure;
            const auto error = pilot::savePilotFile(
                dir / "ACE.TFR", kNew, history.keeper(Origin::Replaced, failure, os), os);
            if (!os.failed()) {
                EXPECT_EQ(error, std::nullopt);
                EXPECT_EQ(failure, std::nullopt);
                EXPECT_TRUE(versionsOf(history) == std::vector<PilotRecord>{kOld});
                calls = number - 1;
                break;
            }
            SCOPED_TRACE(std::string(mode.name) + ", call " + std::to_string(number) + " of kind " +
                         std::to_string(static_cast<int>(*os.failed())));
            expectWholeOrAbsent(dir, history);
            const int errnoValue = FaultyCalls::errnoFor(*os.failed());
            if (error) {
                // The save's own call: the history's never fail the save.
                EXPECT_TRUE(*error == IoError::fromErrno(errnoValue) ||
                            *error == IoError::fromErrno(errnoValue, IoError::Transfer::Reading))
                    << error->code;
            } else {
                // The save went on: a failure of the history is said, unless it lost nothing.
                EXPECT_TRUE(testing_support::readText(dir / "ACE.TFR") == textOf(kNew))
                    << "a save reported done did not write";
                EXPECT_TRUE(failure.has_value() || os.failedHarmlessClose());
                if (failure) {
                    EXPECT_TRUE(failure->concerning == history.folder() ||
                                failure->concerning == dir / "ACE.TFR")
                        << failure->concerning;
                }
            }
        }
        EXPECT_GT(calls, 20) << mode.name;
    }
}

TEST(HistorySaveFaults, ASaveKilledAtAnyCallLeavesAWholePilotAndAWholeOrNoVersion) {
    for (const Mode& mode : kModes) {
        for (int number = 1;; ++number) {
            SCOPED_TRACE(std::string(mode.name) + ", killed before call " + std::to_string(number));
            TempDir dir;
            testing_support::writeRecord(dir / "ACE.TFR", kOld);
            const PilotHistory history(dir / "state" / "history", dir / "ACE.TFR");
            const pid_t child = ::fork();
            if (child == 0) {
                FaultyCalls os = callsFor(mode);
                os.killAt(number);
                std::optional<KeepFailure> failure;
                const auto error = pilot::savePilotFile(
                    dir / "ACE.TFR", kNew, history.keeper(Origin::Replaced, failure, os), os);
                ::_exit(error || failure ? 1 : 0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status));
            expectWholeOrAbsent(dir, history);
            if (WEXITSTATUS(status) != FaultyCalls::kKilledStatus) {
                EXPECT_EQ(WEXITSTATUS(status), 0);
                break;
            }
        }
    }
}

}  // namespace

// The history of pilot files: where it lives, how versions are named, which are kept and
// for how long, and what it skips.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "History.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using pilot::PilotRecord;
using pilot::history::Entry;
using pilot::history::Origin;
using pilot::history::PilotHistory;
using testing_support::TempDir;

std::vector<Entry> entriesOf(const PilotHistory& history) {
    auto entries = history.entries();
    EXPECT_TRUE(std::holds_alternative<std::vector<Entry>>(entries));
    return std::get<std::vector<Entry>>(entries);
}

mode_t permissions(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::uintmax_t folderSize(const fs::path& folder) {
    std::uintmax_t size = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        size += entry.file_size();
    }
    return size;
}

TEST(HistoryPlace, TheStateFolderOrTheHomesDecidesWhereTheHistoryLives) {
    struct Case {
        const char* stateHome;
        const char* home;
        std::optional<fs::path> root;
    };
    const std::vector<Case> cases = {
        {"/state", "/home/ace", fs::path("/state/brevanta/history")},
        {nullptr, "/home/ace", fs::path("/home/ace/.local/state/brevanta/history")},
        {"", "/home/ace", fs::path("/home/ace/.local/state/brevanta/history")},
        // A relative state folder is no state folder.
        {"state", "/home/ace", fs::path("/home/ace/.local/state/brevanta/history")},
        {"/state", nullptr, fs::path("/state/brevanta/history")},
        {nullptr, nullptr, std::nullopt},
        {nullptr, "", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pilot::history::historyRoot(c.stateHome, c.home), c.root)
            << (c.stateHome ? c.stateHome : "(unset)") << ", " << (c.home ? c.home : "(unset)");
    }
}

TEST(HistoryNames, VersionNamesSortByTimeAndOnlyTheHistorysOwnAreRead) {
    using pilot::history::EntryName;
    const std::string hash = pilot::history::contentHash(testing_support::patternedRecord(1));
    const std::vector<EntryName> names = {
        {0, Origin::Opened, hash},
        {1'778'595'753'000'000'001, Origin::Replaced, hash},
        {1'778'595'753'000'000'010, Origin::ChangedByOther, hash},
        {1'778'595'754'999'999'999, Origin::Replaced, hash},
    };
    std::vector<std::string> fileNames;
    for (const EntryName& name : names) {
        const std::string fileName = pilot::history::entryFileName(name);
        const auto parsed = pilot::history::parseEntryFileName(fileName);
        ASSERT_TRUE(parsed.has_value()) << fileName;
        EXPECT_EQ(parsed->time, name.time);
        EXPECT_EQ(parsed->origin, name.origin);
        EXPECT_EQ(parsed->hash, name.hash);
        EXPECT_TRUE(fileNames.empty() || fileNames.back() < fileName) << fileName;
        fileNames.push_back(fileName);
    }
    EXPECT_EQ(pilot::history::entryFileName(names[1]),
              "20260512T142233.000000001Z-replaced-" + hash + ".TFR");
    for (const std::string& foreign : std::vector<std::string>{
             "notes.txt",
             "pilot-path",
             "20260512T142233.000000001Z-replaced-" + hash + ".tfr",
             "20260512T142233.000000001Z-restored-" + hash + ".TFR",
             "20260512T142233.000000001Z-replaced-" + hash.substr(1) + ".TFR",
             "20260512T142233.000000001Z-replaced-" + std::string(16, 'G') + ".TFR",
             "20261312T142233.000000001Z-replaced-" + hash + ".TFR",
             "2026-05-12T142233.000000001Z-replaced-" + hash + ".TFR",
             ".20260512T142233.000000001Z-replaced-" + hash + ".TFR",
             "40520642T142233.000000001Z-replaced-" + hash + ".TFR",  // beyond 2262
             "19690512T142233.000000001Z-replaced-" + hash + ".TFR",
         }) {
        EXPECT_FALSE(pilot::history::parseEntryFileName(foreign).has_value()) << foreign;
    }
}

// Which versions a run of keeps leaves, oldest first: a record equal to the newest version
// is not kept again, and an opened one only when no version holds it.
TEST(HistoryKeep, AVersionEqualToTheNewestOrAnOpenedOneHeldAlreadyIsNotKeptAgain) {
    struct Keep {
        int record;
        Origin origin;
    };
    struct Case {
        const char* what;
        std::vector<Keep> keeps;
        std::vector<Keep> kept;
    };
    const std::vector<Case> cases = {
        {"one", {{1, Origin::Replaced}}, {{1, Origin::Replaced}}},
        {"the same twice", {{1, Origin::Replaced}, {1, Origin::Replaced}}, {{1, Origin::Replaced}}},
        {"the same of another origin",
         {{1, Origin::Opened}, {1, Origin::ChangedByOther}},
         {{1, Origin::Opened}}},
        {"back to an older one",
         {{1, Origin::Replaced}, {2, Origin::Replaced}, {1, Origin::Replaced}},
         {{1, Origin::Replaced}, {2, Origin::Replaced}, {1, Origin::Replaced}}},
        {"opened again",
         {{1, Origin::Opened}, {2, Origin::Replaced}, {1, Origin::Opened}},
         {{1, Origin::Opened}, {2, Origin::Replaced}}},
        {"opened anew",
         {{1, Origin::Replaced}, {2, Origin::Opened}, {3, Origin::ChangedByOther}},
         {{1, Origin::Replaced}, {2, Origin::Opened}, {3, Origin::ChangedByOther}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const PilotHistory history(dir / "history", dir / "ACE.TFR");
        for (const Keep& keep : c.keeps) {
            EXPECT_EQ(history.keep(testing_support::patternedRecord(keep.record), keep.origin),
                      std::nullopt);
        }
        const auto entries = entriesOf(history);
        ASSERT_EQ(entries.size(), c.kept.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const Keep& expected = c.kept[c.kept.size() - 1 - i];  // newest first
            EXPECT_TRUE(entries[i].record == testing_support::patternedRecord(expected.record));
            EXPECT_EQ(entries[i].origin, expected.origin);
            EXPECT_EQ(dir / "history" / pilot::history::pilotFolderName(dir / "ACE.TFR") /
                          entries[i].fileName,
                      history.folder() / entries[i].fileName);
        }
    }
}

// The first version and the newest 49: at most 50 records and a path, under 100 KB, in a
// folder only the user may enter.
TEST(HistoryKeep, ThePilotKeepsItsFirstAndNewestVersionsPrivately) {
    TempDir dir;
    const mode_t oldMask = ::umask(0);
    const PilotHistory history(dir / "state" / "history", dir / "ACE.TFR");
    for (int record = 1; record <= 60; ++record) {
        ASSERT_EQ(history.keep(testing_support::patternedRecord(record), Origin::Replaced),
                  std::nullopt);
    }
    ::umask(oldMask);
    const auto entries = entriesOf(history);
    ASSERT_EQ(entries.size(), pilot::history::kKeptVersions);
    EXPECT_TRUE(entries.back().record == testing_support::patternedRecord(1));
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
        EXPECT_TRUE(entries[i].record ==
                    testing_support::patternedRecord(60 - static_cast<int>(i)));
        EXPECT_GT(entries[i].time, entries[i + 1].time);
    }
    EXPECT_LE(folderSize(history.folder()), 100'000u);
    EXPECT_EQ(testing_support::readText(history.folder() / "pilot-path"),
              (dir / "ACE.TFR").string() + "\n");
    for (const fs::path& folder : {dir / "state", dir / "state" / "history", history.folder()}) {
        EXPECT_EQ(permissions(folder), 0700u) << folder;
    }
    for (const auto& file : fs::directory_iterator(history.folder())) {
        EXPECT_EQ(permissions(file.path()), 0600u) << file.path();
    }
}

// Files the history did not make, versions cut short or damaged, and a folder that another
// pilot's versions took are passed over, never removed, and never stop a keep.
TEST(HistoryKeep, ForeignShortAndDamagedFilesAreSkipped) {
    TempDir dir;
    const PilotHistory history(dir / "history", dir / "ACE.TFR");
    ASSERT_EQ(history.keep(testing_support::patternedRecord(1), Origin::Opened), std::nullopt);
    const std::string record2 = testing_support::textOf(testing_support::patternedRecord(2));
    const auto name = [](int record, Origin origin) {
        return pilot::history::entryFileName(
            {1'900'000'000'000'000'000 + record, origin,
             pilot::history::contentHash(testing_support::patternedRecord(record))});
    };
    std::string damaged = record2;
    damaged[100] ^= 0x40;
    const std::vector<std::pair<std::string, std::string>> strays = {
        {"notes.txt", "my notes"},
        {name(2, Origin::Replaced), record2.substr(0, 1000)},
        {name(3, Origin::Replaced), damaged},
        {name(4, Origin::Replaced), record2 + "tail"},
        {".hidden.TFR", record2},
    };
    for (const auto& [file, content] : strays) {
        testing_support::writeBytes(history.folder() / file, content);
    }
    fs::create_directory(history.folder() / name(5, Origin::Replaced));
    auto entries = entriesOf(history);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].record == testing_support::patternedRecord(1));

    ASSERT_EQ(history.keep(testing_support::patternedRecord(6), Origin::Replaced), std::nullopt);
    entries = entriesOf(history);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].record == testing_support::patternedRecord(6));
    for (const auto& [file, content] : strays) {
        EXPECT_EQ(testing_support::readText(history.folder() / file), content) << file;
    }

    // Two paths of one hash: the folder stays the first pilot's.
    testing_support::writeBytes(history.folder() / "pilot-path", std::string("/other/PILOT.TFR\n"));
    const auto refused = history.keep(testing_support::patternedRecord(7), Origin::Replaced);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->reason, "the folder holds the versions of /other/PILOT.TFR.");
    EXPECT_TRUE(entriesOf(history).empty());
}

// Two programs keeping versions of one pilot at once lose none of them.
TEST(HistoryKeep, TwoProgramsKeepingAtOnceLoseNoVersion) {
    TempDir dir;
    const PilotHistory history(dir / "history", dir / "ACE.TFR");
    constexpr int kEach = 20;
    std::vector<pid_t> children;
    for (int program = 0; program < 2; ++program) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0; i < kEach; ++i) {
                const auto record = testing_support::patternedRecord(100 * (program + 1) + i);
                if (history.keep(record, Origin::Replaced)) {
                    ::_exit(1);
                }
            }
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::set<std::string> kept;
    for (const Entry& entry : entriesOf(history)) {
        kept.insert(testing_support::textOf(entry.record));
    }
    EXPECT_EQ(kept.size(), 2u * kEach);
}

TEST(HistoryList, EveryPilotWithVersionsIsListedByItsPath) {
    TempDir dir;
    const fs::path root = dir / "history";
    for (const char* name : {"B.TFR", "A.TFR"}) {
        const PilotHistory history(root, dir / name);
        ASSERT_EQ(history.keep(testing_support::patternedRecord(1), Origin::Opened), std::nullopt);
        ASSERT_EQ(history.keep(testing_support::patternedRecord(2), Origin::Replaced),
                  std::nullopt);
    }
    fs::create_directory(root / "some folder");
    auto listed = pilot::history::allHistories(root);
    ASSERT_TRUE(std::holds_alternative<std::vector<pilot::history::PilotSummary>>(listed));
    const auto& pilots = std::get<std::vector<pilot::history::PilotSummary>>(listed);
    ASSERT_EQ(pilots.size(), 2u);
    EXPECT_EQ(pilots[0].pilot, dir / "A.TFR");
    EXPECT_EQ(pilots[1].pilot, dir / "B.TFR");
    EXPECT_EQ(pilots[0].versions, 2u);
    EXPECT_EQ(pilots[0].folder, PilotHistory(root, dir / "A.TFR").folder());

    const auto none = pilot::history::allHistories(dir / "nowhere");
    ASSERT_TRUE(std::holds_alternative<std::vector<pilot::history::PilotSummary>>(none));
    EXPECT_TRUE(std::get<std::vector<pilot::history::PilotSummary>>(none).empty());
}

}  // namespace

// Google Benchmark programs for the editor's hot paths: the number-field rule over the kinds
// of text users type, the checks that run after every edit (on a sound pilot and on one of
// random bytes, full of problems), the pilot report of a full pilot, the merge of two
// records, one refresh of the editor window (the same pilot shown again, and another pilot
// loaded and shown), one edit of a field with its rule, checks and marks, the comparison of
// two records, the listing of a pilot's kept versions with their differences, and saves over
// a pilot with and without the version it replaces kept, in turn in the same run.
//
//   core-bench [--benchmark_filter=...]     (the window runs on the offscreen platform)
//
// The files go to a folder of their own under the system's temporary folder, and so does the
// history (XDG_STATE_HOME), on the same file system.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string_view>

#include <QApplication>
#include <QLineEdit>
#include <QString>

#include "DialogService.h"
#include "History.h"
#include "NumberText.h"
#include "PilotFileIO.h"
#include "PilotRecord.h"
#include "PilotReport.h"
#include "RecordChecks.h"
#include "RecordItems.h"
#include "RecordMerge.h"
#include "TForm1.h"
#include "Totals.h"

namespace {

// Every byte random, but a status that lets all 20 battles into the report.
pilot::PilotRecord busyPilot(std::uint32_t seed) {
    std::mt19937 random(seed);
    pilot::PilotRecord::Bytes bytes{};
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    pilot::PilotRecord record(bytes);
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        record.setU8(pilot::Field::BattleStatus, 1, battle);
    }
    return record;
}

void numberRule(benchmark::State& state) {
    constexpr std::array<std::string_view, 8> kTexts = {
        "0", "12000", "-2147483648", "  42", "$7FFFFFFF", "65535", "007", "letters"};
    for (auto _ : state) {
        for (const std::string_view text : kTexts) {
            benchmark::DoNotOptimize(pilot::applyNumberRule(text, pilot::FieldType::I32));
            benchmark::DoNotOptimize(pilot::applyNumberRule(text, pilot::FieldType::U16));
        }
    }
    state.SetItemsProcessed(state.iterations() * 2 * static_cast<std::int64_t>(kTexts.size()));
}
BENCHMARK(numberRule);

void pilotReport(benchmark::State& state) {
    const pilot::PilotRecord record = busyPilot(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(reports::pilotReport(record, "/home/pilot/ACE.TXT"));
    }
}
BENCHMARK(pilotReport);

// The totals as the editor stores them for the record's scores and counters.
pilot::PilotRecord withTotals(pilot::PilotRecord record) {
    record.setI32(pilot::Field::TotalScore, pilot::storedTotalScore(record));
    record.setU16(pilot::Field::Kills, pilot::storedKillsTotal(record));
    return record;
}

// A pilot as the game writes it: values within every list and totals that add up.
pilot::PilotRecord soundPilot() {
    pilot::PilotRecord record = pilot::PilotRecord::newPilot();
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        record.setU8(pilot::Field::BattleStatus, 3, battle);
        record.setU8(pilot::Field::BattleLastMission, 8, battle);
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            record.setI32(pilot::Field::BattleMissionScore,
                          static_cast<std::int32_t>(1000 * battle + mission), battle, mission);
        }
    }
    for (std::size_t counter = 0; counter < pilot::kShipKillCounters; ++counter) {
        record.setU16(pilot::Field::ShipKills, static_cast<std::uint16_t>(counter), counter);
    }
    return withTotals(record);
}

void checkSoundPilot(benchmark::State& state) {
    const pilot::PilotRecord record = soundPilot();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pilot::checkRecord(record));
    }
}
BENCHMARK(checkSoundPilot);

void checkRandomPilot(benchmark::State& state) {
    const pilot::PilotRecord record = busyPilot(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(pilot::checkRecord(record));
    }
}
BENCHMARK(checkRandomPilot);

// A game write while the pilot is edited: the game flew a mission (its score, goals, last
// mission, kills and the totals), the user typed another score and chose a rank.
void mergeGameWrite(benchmark::State& state) {
    const pilot::PilotRecord base = withTotals(busyPilot(5));
    pilot::PilotRecord mine = base;
    mine.setI32(pilot::Field::BattleMissionScore, 4000, 7, 2);
    mine.setU8(pilot::Field::Rank, 3);
    pilot::PilotRecord theirs = base;
    theirs.setI32(pilot::Field::BattleMissionScore, 12000, 3, 4);
    theirs.setU8(pilot::Field::BattleLastMission, 5, 3);
    theirs.setU8(pilot::Field::BattleSecondaryGoals, 0x1F, 3);
    theirs.setU16(pilot::Field::ShipKills, 9, 4);
    theirs.setU16(pilot::Field::ShipKills, 2, 6);
    mine = withTotals(mine);
    theirs = withTotals(theirs);
    for (auto _ : state) {
        benchmark::DoNotOptimize(pilot::mergeRecords(base, mine, theirs));
    }
}
BENCHMARK(mergeGameWrite);

// The worst case: every byte differs between all three, so that nearly every item collides,
// and both sides' totals follow their own parts.
void mergeEverythingChanged(benchmark::State& state) {
    const pilot::PilotRecord base = busyPilot(6);
    pilot::PilotRecord::Bytes mine = base.bytes();
    pilot::PilotRecord::Bytes theirs = base.bytes();
    for (std::size_t at = 0; at < pilot::kRecordSize; ++at) {
        mine[at] = static_cast<std::uint8_t>(mine[at] + 1);
        theirs[at] = static_cast<std::uint8_t>(theirs[at] + 2);
    }
    const pilot::PilotRecord mineRecord = withTotals(pilot::PilotRecord(mine));
    const pilot::PilotRecord theirsRecord = withTotals(pilot::PilotRecord(theirs));
    std::size_t conflicts = 0;
    for (auto _ : state) {
        const auto result = pilot::mergeRecords(base, mineRecord, theirsRecord);
        conflicts = result.conflicts.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["conflicts"] = static_cast<double>(conflicts);
}
BENCHMARK(mergeEverythingChanged);

// A folder of its own under the system's temporary folder, removed with what it holds.
class BenchFolder {
public:
    BenchFolder() { std::filesystem::create_directories(m_path); }
    ~BenchFolder() { std::filesystem::remove_all(m_path); }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path = std::filesystem::temp_directory_path() /
                                   ("brevanta-bench-" + std::to_string(std::random_device()()));
};

// Two versions of one pilot after a session of play (a battle won, kills, a promotion), and
// two pilots of random bytes, which differ in about 1100 items, as the comparison view lists
// them.
void compareRecords(benchmark::State& state) {
    const bool random = state.range(0) != 0;
    const pilot::PilotRecord before = busyPilot(11);
    pilot::PilotRecord after = random ? busyPilot(12) : before;
    if (!random) {
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            after.setI32(pilot::Field::BattleMissionScore, 1000 + 100 * static_cast<int>(mission),
                         5, mission);
        }
        after.setU8(pilot::Field::BattleLastMission, 8, 5);
        after.setU8(pilot::Field::BattleSecondaryGoals, 0xFF, 5);
        after.setU8(pilot::Field::BattleStatus, 3, 5);
        for (std::size_t counter = 0; counter < 10; ++counter) {
            after.setU16(pilot::Field::ShipKills, 7, counter);
        }
        after.setU8(pilot::Field::Rank, 5);
        after.setI32(pilot::Field::TotalScore, pilot::storedTotalScore(after));
        after.setU16(pilot::Field::Kills, pilot::storedKillsTotal(after));
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(pilot::differences(before, after));
    }
    state.SetLabel(std::to_string(pilot::differenceCount(before, after)) + " items differ");
}
BENCHMARK(compareRecords)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// What History... shows: the pilot's 50 versions read, each with its difference count.
void listVersions(benchmark::State& state) {
    const BenchFolder folder;
    const pilot::history::PilotHistory history(folder.path() / "history",
                                               folder.path() / "ACE.TFR");
    for (std::uint32_t seed = 0; seed < pilot::history::kKeptVersions; ++seed) {
        if (history.keep(busyPilot(100 + seed), pilot::history::Origin::Replaced)) {
            std::abort();
        }
    }
    const pilot::PilotRecord shown = busyPilot(99);
    for (auto _ : state) {
        auto entries = history.entries();
        std::size_t differing = 0;
        for (const auto& entry : std::get<std::vector<pilot::history::Entry>>(entries)) {
            differing += pilot::differenceCount(entry.record, shown);
        }
        benchmark::DoNotOptimize(differing);
    }
}
BENCHMARK(listVersions)->Unit(benchmark::kMillisecond);

// A save over a pilot with the history kept and one without, in turn, so that both meet the
// same disk: each replaces other bytes (the records alternate), and the one with the history
// keeps what it replaces (once 50 are kept, dropping the oldest but the first), as the
// window's Save does. The counters give the mean of each and their ratio.
void saveWithAndWithoutHistory(benchmark::State& state) {
    const BenchFolder folder;
    const std::array<std::filesystem::path, 2> pilots = {folder.path() / "KEPT.TFR",
                                                         folder.path() / "PLAIN.TFR"};
    const pilot::history::PilotHistory history(folder.path() / "history", pilots[0]);
    const std::array<pilot::PilotRecord, 2> records = {busyPilot(21), busyPilot(22)};
    const pilot::PosixCalls os;
    std::optional<pilot::history::KeepFailure> failure;
    const pilot::KeepReplaced keep = history.keeper(pilot::history::Origin::Replaced, failure, os);
    using Clock = std::chrono::steady_clock;
    std::array<Clock::duration, 2> spent{};
    std::size_t next = 0;
    for (auto _ : state) {
        const pilot::PilotRecord& record = records[next++ % 2];
        for (std::size_t which = 0; which < pilots.size(); ++which) {
            const auto start = Clock::now();
            if (pilot::savePilotFile(pilots[which], record, which == 0 ? keep : nullptr, os) ||
                failure) {
                std::abort();
            }
            spent[which] += Clock::now() - start;
        }
    }
    const auto milliseconds = [&](std::size_t which) {
        return std::chrono::duration<double, std::milli>(spent[which]).count() /
               static_cast<double>(state.iterations());
    };
    state.counters["with_ms"] = milliseconds(0);
    state.counters["without_ms"] = milliseconds(1);
    state.counters["ratio"] = milliseconds(0) / milliseconds(1);
}
BENCHMARK(saveWithAndWithoutHistory)->Unit(benchmark::kMillisecond);

// A shown editor window on one of two pilot files.
class Window {
public:
    Window() {
        for (std::size_t i = 0; i < m_files.size(); ++i) {
            m_files[i] = m_folder.path() / ("PILOT" + std::to_string(i) + ".TFR");
            if (pilot::savePilotFile(m_files[i], busyPilot(static_cast<std::uint32_t>(i + 2)))) {
                std::abort();
            }
        }
        m_window.show();
        QApplication::processEvents();
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    editor::TForm1& window() { return m_window; }
    void load(std::size_t which) {
        m_window.LoadPilotFile(QString::fromStdString(m_files[which % m_files.size()].string()));
    }

private:
    BenchFolder m_folder;
    std::array<std::filesystem::path, 2> m_files;
    ui::QtDialogService m_dialogs;
    editor::TForm1 m_window{{}, m_dialogs};
};

void refreshSamePilot(benchmark::State& state) {
    Window shown;
    shown.load(0);
    for (auto _ : state) {
        shown.window().RefreshAllFields();
    }
}
BENCHMARK(refreshSamePilot);

void loadAnotherPilot(benchmark::State& state) {
    Window shown;
    std::size_t next = 0;
    for (auto _ : state) {
        shown.load(next++);
    }
}
BENCHMARK(loadAnotherPilot);

// The user's edit of a field: its rule stores the value, the record is checked and the
// marks follow (laser hits in turn below and above the shots, so a mark comes and goes).
void editWithMarks(benchmark::State& state) {
    Window shown;
    shown.load(0);
    shown.window().putRecord(soundPilot(), QStringLiteral("Sound"));
    auto* shots = shown.window().findChild<QLineEdit*>(QStringLiteral("LaserShotsEdit"));
    auto* hits = shown.window().findChild<QLineEdit*>(QStringLiteral("LaserHitsEdit"));
    shots->setText(QStringLiteral("500"));
    int next = 0;
    for (auto _ : state) {
        hits->setText(QString::number(499 + 2 * (next++ % 2)));
    }
}
BENCHMARK(editWithMarks);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The windows keep the pilots they open: in a state folder of the run's own.
    const BenchFolder state;
    setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Google Benchmark programs for the editor's hot paths: the number-field rule over the kinds
// of text users type, the pilot report of a full pilot, the merge of two records, and one
// refresh of the editor window (the same pilot shown again, and another pilot loaded and
// shown).
//
//   core-bench [--benchmark_filter=...]     (the window runs on the offscreen platform)
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string_view>

#include <QApplication>
#include <QString>

#include "DialogService.h"
#include "NumberText.h"
#include "PilotFileIO.h"
#include "PilotRecord.h"
#include "PilotReport.h"
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

// A shown editor window on one of two pilot files.
class Window {
public:
    Window() {
        for (std::size_t i = 0; i < m_files.size(); ++i) {
            m_files[i] = m_folder / ("PILOT" + std::to_string(i) + ".TFR");
            if (pilot::savePilotFile(m_files[i], busyPilot(static_cast<std::uint32_t>(i + 2)))) {
                std::abort();
            }
        }
        m_window.show();
        QApplication::processEvents();
    }
    ~Window() { std::filesystem::remove_all(m_folder); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    editor::TForm1& window() { return m_window; }
    void load(std::size_t which) {
        m_window.LoadPilotFile(QString::fromStdString(m_files[which % m_files.size()].string()));
    }

private:
    std::filesystem::path m_folder = [] {
        auto folder = std::filesystem::temp_directory_path() /
                      ("brevanta-bench-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(folder);
        return folder;
    }();
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

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

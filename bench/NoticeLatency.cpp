// How soon the editor window shows the notice of its pilot file changed by another program:
// the window holds a pilot, is not the active window, and another program writes the file
// (in place, then replaced by a rename), as the game does. Prints the time from the end of
// each write to the notice shown, in milliseconds: median and slowest of the rounds.
//
//   notice-latency [ROUNDS]      (QT_QPA_PLATFORM=offscreen runs it without a display)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

#include "DialogService.h"
#include "PilotRecord.h"
#include "TForm1.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDefaultRounds = 20;
constexpr qint64 kGiveUpMilliseconds = 10000;

bool writeBytes(const fs::path& path, const pilot::PilotRecord& record) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(record.bytes().data()),
               static_cast<std::streamsize>(record.bytes().size()));
    return static_cast<bool>(file.flush());
}

// Another pilot each round, so that every write changes the file.
pilot::PilotRecord pilotOfRound(int round) {
    pilot::PilotRecord record = pilot::PilotRecord::newPilot();
    record.setU16(pilot::Field::Captures, static_cast<std::uint16_t>(round + 1));
    return record;
}

double median(std::vector<double> values) {
    std::ranges::sort(values);
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "notice-latency: no temporary folder\n");
        return 1;
    }
    qputenv("XDG_STATE_HOME", (dir.path() + QStringLiteral("/state")).toLocal8Bit());
    const fs::path pilotPath = fs::path(dir.path().toStdString()) / "ACE.TFR";
    const fs::path newPath = fs::path(dir.path().toStdString()) / "ACE.new";
    if (!writeBytes(pilotPath, pilot::PilotRecord::newPilot())) {
        std::fprintf(stderr, "notice-latency: cannot write %s\n", pilotPath.c_str());
        return 1;
    }

    ui::QtDialogService dialogs;
    editor::TForm1 window(QStringList{QString::fromStdString(pilotPath.string())}, dialogs);
    window.show();
    QWidget elsewhere;  // the active window while the game writes
    elsewhere.show();
    elsewhere.activateWindow();
    QApplication::processEvents();
    auto* notice = window.findChild<QWidget*>(QStringLiteral("DiskChangeBar"));
    auto* reload = notice->findChild<QPushButton*>(QStringLiteral("ReloadButton"));

    std::vector<double> inPlace;
    std::vector<double> renamed;
    for (int round = 0; round < 2 * rounds; ++round) {
        const bool rename = round % 2 == 1;
        const pilot::PilotRecord written = pilotOfRound(round);
        if (!writeBytes(rename ? newPath : pilotPath, written)) {
            std::fprintf(stderr, "notice-latency: cannot write\n");
            return 1;
        }
        if (rename) {
            fs::rename(newPath, pilotPath);
        }
        QElapsedTimer since;
        since.start();
        while (notice->isHidden() && since.elapsed() < kGiveUpMilliseconds) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        if (notice->isHidden()) {
            std::fprintf(stderr, "notice-latency: no notice after %lld ms\n",
                         static_cast<long long>(kGiveUpMilliseconds));
            return 1;
        }
        (rename ? renamed : inPlace).push_back(static_cast<double>(since.nsecsElapsed()) / 1e6);
        reload->click();  // the window holds the file as written
    }
    std::printf("notice after a write in place:  median %.1f ms, slowest %.1f ms (%d rounds)\n",
                median(inPlace), *std::ranges::max_element(inPlace), rounds);
    std::printf("notice after a rename-replace:  median %.1f ms, slowest %.1f ms (%d rounds)\n",
                median(renamed), *std::ranges::max_element(renamed), rounds);
    return 0;
}

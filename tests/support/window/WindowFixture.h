#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTest>

#include "FakeDialogs.h"
#include "FieldTable.h"
#include "PilotRecord.h"
#include "TForm1.h"
#include "TestFiles.h"
#include "Totals.h"
#include "UserActions.h"

// What the editor window tests share: a window on fake dialogs in a fresh folder, the
// commands triggered by their entries' names, and records the refresh leaves unchanged.

namespace testing_support {

inline QString qpath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}
inline QString latin(const char* text) {
    return QString::fromLatin1(text);
}

inline std::vector<std::uint8_t> bytesOf(const pilot::PilotRecord& record) {
    return {record.bytes().begin(), record.bytes().end()};
}

// Random reserved bytes and spare craft slots, but shown fields with values the refresh
// shows and stores back unchanged (totals that match their parts, no sentinels).
inline pilot::PilotRecord showableRecord(std::uint32_t seed) {
    pilot::PilotRecord record = patternedRecord(seed);
    std::mt19937 random(seed);
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.reserved()) {
            continue;
        }
        const std::size_t rows = pilot::shownRows(info);
        std::uint32_t limit = 1000;
        switch (info.editing) {
            case pilot::Editing::Selector:
                limit = static_cast<std::uint32_t>(info.enumeration.size());
                break;
            case pilot::Editing::Flag:
                limit = 2;
                break;
            case pilot::Editing::LastMission:
                limit = 9;
                break;
            case pilot::Editing::NumberRule:
                // A byte's number rule resets 255, and a wider value would be cut.
                limit = info.type == pilot::FieldType::U8 ? 10 : limit;
                break;
            case pilot::Editing::GoalBits:
            case pilot::Editing::Reserved:
                break;
        }
        for (std::size_t row = 0; row < rows; ++row) {
            for (std::size_t column = 0; column < info.columns; ++column) {
                const auto value = static_cast<std::int32_t>(random() % limit);
                const bool signedField = info.type == pilot::FieldType::I32;
                record.setRaw(info.id,
                              static_cast<std::uint32_t>(signedField ? value - 500 : value), row,
                              column);
            }
        }
    }
    record.setI32(pilot::Field::TotalScore, pilot::missionScoreTotal(record));
    record.setU16(pilot::Field::Kills, pilot::shipKillsTotal(record));
    return record;
}

class WindowShell : public ::testing::Test {
protected:
    WindowShell() { recreate({}); }
    ~WindowShell() override { QDir::setCurrent(m_savedDirectory); }

    void recreate(const QStringList& arguments) {
        window.reset();
        window = std::make_unique<editor::TForm1>(arguments, dialogs);
    }
    void activate() {
        window->show();
        QApplication::processEvents();
    }
    // Shown and the active window, so that keys reach the focused field and shortcuts work.
    void showActive() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QApplication::processEvents();
    }
    template <typename Widget = QWidget>
    [[nodiscard]] Widget* control(const char* name) const {
        return testing_support::control<Widget>(*window, name);
    }
    // The user clicks into the field, selects its text and types over it key by key.
    void typeInto(const char* name, const QString& keys) {
        enterText(control<QLineEdit>(name), keys, Entry::Type);
    }
    // The groups that show the record, in the window's order.
    [[nodiscard]] std::vector<QWidget*> recordGroups() const {
        std::vector<QWidget*> groups;
        for (auto* group : window->findChildren<QGroupBox*>()) {
            if (group->title() != QStringLiteral(" BSF Generation ")) {
                groups.push_back(group);
            }
        }
        return groups;
    }
    void trigger(const char* name) {
        auto* action = window->findChild<QAction*>(latin(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    void open(const std::filesystem::path& path) {
        dialogs.answer(qpath(path));
        trigger("LoadToolbarButton");
    }
    void saveAs(const std::filesystem::path& path, int type) {
        dialogs.answer(qpath(path), type);
        trigger("SaveAs1");
    }
    [[nodiscard]] QString title() const { return window->windowTitle(); }
    [[nodiscard]] QString changedPanel() const {
        return window->findChild<QLabel*>(QStringLiteral("ChangedPanel"))->text();
    }
    [[nodiscard]] static QString titleFor(const std::filesystem::path& path) {
        return QStringLiteral("Brevanta  [ ") + qpath(path) + QStringLiteral(" ]");
    }

    TempDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<editor::TForm1> window;

private:
    QString m_savedDirectory = QDir::currentPath();
};

}  // namespace testing_support

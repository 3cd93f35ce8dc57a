// What the refresh and the battle switch store, byte for byte, over thousands of random
// pilots shown one after another in one window: the record, the CHANGED mark and every
// control's state are folded into one digest, taken from the refresh that added up all
// kill counters again for each counter whose text changed and unticked all goal boxes
// before ticking some. A refresh that does less work must still come to the same digest.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include "FieldTable.h"
#include "UserActions.h"
#include "WindowFixture.h"

namespace {

using pilot::Field;
using pilot::FieldType;
using testing_support::choose;
using testing_support::latin;
using testing_support::patternedRecord;
using testing_support::writeRecord;

constexpr int kPilots = 2000;

// Random bytes everywhere, and in every eighth shown number its field's sentinel, so that
// the resets, the wrapping sums and the totals' own sentinels all come up.
pilot::PilotRecord randomPilot(std::uint32_t seed) {
    pilot::PilotRecord record = patternedRecord(seed);
    std::mt19937 random(seed ^ 0x9e3779b9u);
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.reserved() || !info.enumeration.empty()) {
            continue;
        }
        const std::uint32_t sentinel = info.type == FieldType::I32   ? 0x7fffffffu
                                       : info.type == FieldType::U16 ? 0xffffu
                                                                     : 0xffu;
        for (std::size_t row = 0; row < info.rows; ++row) {
            for (std::size_t column = 0; column < info.columns; ++column) {
                if (random() % 8 == 0) {
                    record.setRaw(info.id, sentinel, row, column);
                }
            }
        }
    }
    return record;
}

class Digest {
public:
    void add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            m_value = (m_value ^ bytes[i]) * 0x100000001b3ull;
        }
    }
    void add(const QString& text) { add(text.constData(), sizeof(QChar) * text.size()); }
    void add(int number) { add(&number, sizeof number); }
    [[nodiscard]] std::uint64_t value() const { return m_value; }

private:
    std::uint64_t m_value = 0xcbf29ce484222325ull;
};

// The window's named controls of a kind, in the order of their names.
template <typename Control>
std::map<QString, const Control*> byName(const QWidget& window) {
    std::map<QString, const Control*> controls;
    for (const Control* control : window.findChildren<Control*>()) {
        if (!control->objectName().isEmpty()) {
            controls.emplace(control->objectName(), control);
        }
    }
    return controls;
}

class RefreshBytes : public testing_support::WindowShell {
protected:
    void fold(Digest& digest) {
        digest.add(window->record().bytes().data(), window->record().bytes().size());
        digest.add(window->changed() ? 1 : 0);
        for (const auto& [name, edit] : byName<QLineEdit>(*window)) {
            digest.add(edit->text());
        }
        for (const auto& [name, button] : byName<QAbstractButton>(*window)) {
            if (button->isCheckable()) {
                digest.add((button->isChecked() ? 1 : 0) + (button->isEnabled() ? 2 : 0));
            }
        }
        for (const auto& [name, box] : byName<QComboBox>(*window)) {
            digest.add(box->currentIndex());
        }
    }
};

TEST_F(RefreshBytes, ShowingRandomPilotsStoresWhatItAlwaysStored) {
    activate();
    const auto path = dir / "random.TFR";
    auto* battles = window->findChild<QComboBox*>(latin("BattleNRBox1"));
    ASSERT_NE(battles, nullptr);
    Digest digest;
    for (int seed = 0; seed < kPilots; ++seed) {
        writeRecord(path, randomPilot(static_cast<std::uint32_t>(seed)));
        window->LoadPilotFile(testing_support::qpath(path));
        fold(digest);
        // A battle switch commits the shown battle and shows another one.
        choose(battles, (seed * 7 + 3) % static_cast<int>(pilot::kBattles));
        fold(digest);
    }
    EXPECT_EQ(digest.value(), 0x486e124a0b6e353cull);
}

}  // namespace

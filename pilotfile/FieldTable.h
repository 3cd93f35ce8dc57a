#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The layout of the pilot record: one row per field, in file order. Everything that
// addresses the record by name (accessors, command line, report, tests) reads this table.

namespace pilot {

inline constexpr std::size_t kRecordSize = 1928;

inline constexpr std::size_t kCraftSlots = 12;  // per-craft arrays; the window uses 0..6
inline constexpr std::size_t kShownCrafts = 7;
inline constexpr std::size_t kMissions = 8;
inline constexpr std::size_t kBattles = 20;
inline constexpr std::size_t kShipKillCounters = 70;

enum class FieldType : std::uint8_t { U8, U16, I32 };

[[nodiscard]] constexpr std::size_t byteWidth(FieldType type) {
    switch (type) {
        case FieldType::U8:
            return 1;
        case FieldType::U16:
            return 2;
        case FieldType::I32:
            return 4;
    }
    return 0;
}

enum class Field : std::uint8_t {
    Reserved0,
    PilotStatus,
    Rank,
    Difficulty,
    TotalScore,
    Skill,
    SecretOrder,
    Reserved11,
    TrainingScore,
    TrainingLevel,
    Reserved102,
    CombatScore,
    CombatCompleted,
    Reserved616,
    BattleStatus,
    BattleLastMission,
    Reserved657,
    BattleSecondaryGoals,
    BattleBonusGoals,
    Reserved953,
    BattleMissionScore,
    Kills,
    Captures,
    Reserved1630,
    ShipKills,
    Reserved1772,
    LaserShots,
    LaserHits,
    Reserved1916,
    WarheadShots,
    WarheadHits,
    Reserved1924,
    CraftLost,
};

inline constexpr std::array<std::string_view, 6> kRankNames = {
    "Flight Cadet", "Flight Officer", "Lieutenant", "Captain", "Commander", "General"};
inline constexpr std::array<std::string_view, 3> kPilotStatusNames = {"Alive", "Captured",
                                                                      "Killed"};
inline constexpr std::array<std::string_view, 3> kDifficultyNames = {"Easy", "Medium", "Hard"};
inline constexpr std::array<std::string_view, 10> kSecretOrderNames = {
    "None",         "First Circle",   "Second Circle",  "Third Circle",    "Fourth Circle",
    "Inner Circle", "Emperor's Hand", "Emperor's Eyes", "Emperor's Voice", "Emperor's Reach"};
inline constexpr std::array<std::string_view, 4> kBattleStatusNames = {
    "Not Displayed (Battle does not exist)", "In Progress (Current Battle)", "Not Completed",
    "Completed"};
inline constexpr std::array<std::string_view, kShownCrafts> kCraftNames = {
    "TIE Fighter",     "TIE Interceptor", "TIE Bomber",  "TIE Advanced",
    "Assault Gunboat", "TIE Defender",    "Missile Boat"};

// How the editor edits a field, and so what the command line's set stores into it.
enum class Editing : std::uint8_t {
    NumberRule,   // a number field: the number-field rule at the field's width
    Selector,     // a drop-down list of the field's enumeration
    GoalBits,     // eight boxes, one per mission: bit m for mission m + 1
    Flag,         // a box that stores 1 when ticked and 0 when not
    LastMission,  // eight radio buttons, 1 to 8, and "No mission finished", 0
    Reserved,     // carried through, never interpreted
};

struct FieldInfo {
    Field id;
    std::string_view name;
    std::size_t offset;
    FieldType type;
    std::size_t rows;     // count of the first index; 1 for a single value
    std::size_t columns;  // count of the second index; 1 unless the field is two-dimensional
    int dimensions;       // 0 single value, 1 array, 2 array of arrays
    Editing editing;
    std::span<const std::string_view> enumeration;  // the entries of a selector's list

    [[nodiscard]] constexpr bool reserved() const { return editing == Editing::Reserved; }
    [[nodiscard]] constexpr std::size_t elementCount() const { return rows * columns; }
    [[nodiscard]] constexpr std::size_t size() const { return elementCount() * byteWidth(type); }
};

namespace detail {
constexpr FieldInfo scalar(Field id, std::string_view name, std::size_t offset, FieldType type,
                           Editing editing, std::span<const std::string_view> names = {}) {
    return {id, name, offset, type, 1, 1, 0, editing, names};
}
constexpr FieldInfo array(Field id, std::string_view name, std::size_t offset, FieldType type,
                          std::size_t rows, Editing editing,
                          std::span<const std::string_view> names = {}) {
    return {id, name, offset, type, rows, 1, 1, editing, names};
}
constexpr FieldInfo matrix(Field id, std::string_view name, std::size_t offset, FieldType type,
                           std::size_t rows, std::size_t columns, Editing editing) {
    return {id, name, offset, type, rows, columns, 2, editing, {}};
}
constexpr FieldInfo reserved(Field id, std::string_view name, std::size_t offset, FieldType type,
                             std::size_t count) {
    return {id, name, offset, type, count, 1, count == 1 ? 0 : 1, Editing::Reserved, {}};
}
}  // namespace detail

inline constexpr std::array kFieldTable = {
    detail::reserved(Field::Reserved0, "Reserved0", 0, FieldType::U8, 1),
    detail::scalar(Field::PilotStatus, "PilotStatus", 1, FieldType::U8, Editing::Selector,
                   kPilotStatusNames),
    detail::scalar(Field::Rank, "Rank", 2, FieldType::U8, Editing::Selector, kRankNames),
    detail::scalar(Field::Difficulty, "Difficulty", 3, FieldType::U8, Editing::Selector,
                   kDifficultyNames),
    detail::scalar(Field::TotalScore, "TotalScore", 4, FieldType::I32, Editing::NumberRule),
    detail::scalar(Field::Skill, "Skill", 8, FieldType::U16, Editing::NumberRule),
    detail::scalar(Field::SecretOrder, "SecretOrder", 10, FieldType::U8, Editing::Selector,
                   kSecretOrderNames),
    detail::reserved(Field::Reserved11, "Reserved11", 11, FieldType::U8, 31),
    detail::array(Field::TrainingScore, "TrainingScore", 42, FieldType::I32, kCraftSlots,
                  Editing::NumberRule),
    detail::array(Field::TrainingLevel, "TrainingLevel", 90, FieldType::U8, kCraftSlots,
                  Editing::NumberRule),
    detail::reserved(Field::Reserved102, "Reserved102", 102, FieldType::U8, 34),
    detail::matrix(Field::CombatScore, "CombatScore", 136, FieldType::I32, kCraftSlots, kMissions,
                   Editing::NumberRule),
    detail::matrix(Field::CombatCompleted, "CombatCompleted", 520, FieldType::U8, kCraftSlots,
                   kMissions, Editing::Flag),
    detail::reserved(Field::Reserved616, "Reserved616", 616, FieldType::U8, 1),
    detail::array(Field::BattleStatus, "BattleStatus", 617, FieldType::U8, kBattles,
                  Editing::Selector, kBattleStatusNames),
    detail::array(Field::BattleLastMission, "BattleLastMission", 637, FieldType::U8, kBattles,
                  Editing::LastMission),
    detail::reserved(Field::Reserved657, "Reserved657", 657, FieldType::U8, 256),
    detail::array(Field::BattleSecondaryGoals, "BattleSecondaryGoals", 913, FieldType::U8, kBattles,
                  Editing::GoalBits),
    detail::array(Field::BattleBonusGoals, "BattleBonusGoals", 933, FieldType::U8, kBattles,
                  Editing::GoalBits),
    detail::reserved(Field::Reserved953, "Reserved953", 953, FieldType::U8, 33),
    detail::matrix(Field::BattleMissionScore, "BattleMissionScore", 986, FieldType::I32, kBattles,
                   kMissions, Editing::NumberRule),
    detail::scalar(Field::Kills, "Kills", 1626, FieldType::U16, Editing::NumberRule),
    detail::scalar(Field::Captures, "Captures", 1628, FieldType::U16, Editing::NumberRule),
    detail::reserved(Field::Reserved1630, "Reserved1630", 1630, FieldType::U16, 1),
    detail::array(Field::ShipKills, "ShipKills", 1632, FieldType::U16, kShipKillCounters,
                  Editing::NumberRule),
    detail::reserved(Field::Reserved1772, "Reserved1772", 1772, FieldType::U8, 136),
    detail::scalar(Field::LaserShots, "LaserShots", 1908, FieldType::I32, Editing::NumberRule),
    detail::scalar(Field::LaserHits, "LaserHits", 1912, FieldType::I32, Editing::NumberRule),
    detail::reserved(Field::Reserved1916, "Reserved1916", 1916, FieldType::I32, 1),
    detail::scalar(Field::WarheadShots, "WarheadShots", 1920, FieldType::U16, Editing::NumberRule),
    detail::scalar(Field::WarheadHits, "WarheadHits", 1922, FieldType::U16, Editing::NumberRule),
    detail::reserved(Field::Reserved1924, "Reserved1924", 1924, FieldType::U16, 1),
    detail::scalar(Field::CraftLost, "CraftLost", 1926, FieldType::U16, Editing::NumberRule),
};

[[nodiscard]] constexpr const FieldInfo& fieldInfo(Field field) {
    return kFieldTable[static_cast<std::size_t>(field)];
}

// The rows of a field that the window shows: the per-craft arrays' first seven slots, every
// row of the other fields.
[[nodiscard]] constexpr std::size_t shownRows(const FieldInfo& info) {
    return info.rows == kCraftSlots ? kShownCrafts : info.rows;
}

// Whether the editor edits the field in the given way.
[[nodiscard]] constexpr bool editedAs(Field field, Editing editing) {
    return fieldInfo(field).editing == editing;
}

// The byte offset of element [row][column] of a field, or nothing when an index lies
// outside the field's dimensions.
[[nodiscard]] constexpr std::optional<std::size_t> elementOffset(Field field, std::size_t row = 0,
                                                                 std::size_t column = 0) {
    const FieldInfo& info = fieldInfo(field);
    if (row >= info.rows || column >= info.columns) {
        return std::nullopt;
    }
    return info.offset + (row * info.columns + column) * byteWidth(info.type);
}

// Looks a field up by its name as written in the table ("BattleMissionScore").
[[nodiscard]] std::optional<Field> findField(std::string_view name);

// The text of an enumerated value, or nothing for a field without texts or a value
// outside its list.
[[nodiscard]] std::optional<std::string_view> enumerationText(Field field, std::uint32_t value);

}  // namespace pilot

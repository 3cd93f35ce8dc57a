#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "FieldTable.h"

namespace pilot {

// One element of the record by name: a field of the table and its 0-based indices, as the
// record counts them (battle 4 is index 3).
struct ElementPath {
    Field field = Field::Reserved0;
    std::size_t row = 0;
    std::size_t column = 0;

    friend bool operator==(const ElementPath&, const ElementPath&) = default;
};

// "Rank", "TrainingScore[3]", "BattleMissionScore[3][2]": the field's name with one index
// per dimension.
[[nodiscard]] std::string pathName(const ElementPath& path);

// What the indices mean to a player, counted from 1: "battle 4, mission 3",
// "TIE Bomber, mission 1", "spare slot 8". Empty where an index names nothing more than
// itself (single values, kill counters, reserved stretches).
[[nodiscard]] std::string indexNote(const ElementPath& path);

// The name with its note in brackets, as show and check print an element:
// "BattleMissionScore[3][2] (battle 4, mission 3)".
[[nodiscard]] std::string elementLabel(const ElementPath& path);

// Reads a name as pathName writes it, checked against the field table: the field must
// exist, take exactly as many indices as it has dimensions, and each index must lie
// within them. The error text says what is wrong.
[[nodiscard]] std::variant<ElementPath, std::string> parseFieldPath(std::string_view text);

// Visits every element of a field in file order.
template <typename Visit>
void forEachElement(Field field, Visit&& visit) {
    const FieldInfo& info = fieldInfo(field);
    for (std::size_t row = 0; row < info.rows; ++row) {
        for (std::size_t column = 0; column < info.columns; ++column) {
            visit(ElementPath{field, row, column});
        }
    }
}

}  // namespace pilot

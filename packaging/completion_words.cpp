// Prints the words the bash completion offers, one line each:
// - the field names that `brevanta-cli set` takes: "Rank=" for a single value,
//   "TrainingScore[" for an array; reserved stretches are left out, as set refuses them;
// - the column names that `brevanta-cli table --fields` takes: its figures and every field.
#include <iostream>

#include "FieldTable.h"
#include "TableColumns.h"

int main() {
    const char* separator = "";
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.reserved()) {
            continue;
        }
        std::cout << separator << info.name << (info.dimensions == 0 ? "=" : "[");
        separator = " ";
    }
    separator = "\n";
    for (const cli::TableFigure& figure : cli::kTableFigures) {
        std::cout << separator << figure.name;
        separator = " ";
    }
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        std::cout << ' ' << info.name;
    }
    std::cout << '\n';
    return std::cout.good() ? 0 : 1;
}

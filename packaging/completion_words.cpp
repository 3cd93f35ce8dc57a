// Prints the field names that `brevanta-cli set` takes, as the bash completion offers them:
// "Rank=" for a single value, "TrainingScore[" for an array. Reserved stretches are left
// out, as set refuses them.
#include <iostream>

#include "FieldTable.h"

int main() {
    const char* separator = "";
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.reserved()) {
            continue;
        }
        std::cout << separator << info.name << (info.dimensions == 0 ? "=" : "[");
        separator = " ";
    }
    std::cout << '\n';
    return std::cout.good() ? 0 : 1;
}

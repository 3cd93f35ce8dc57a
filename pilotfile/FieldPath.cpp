#include "FieldPath.h"

#include "ElementNames.h"
#include "NameSuggestion.h"

#include <charconv>
#include <optional>
#include <vector>

namespace pilot {

namespace {

// An index is recognised by the extent of its dimension, which is unique to its meaning.
static_assert(kCraftSlots != kBattles && kCraftSlots != kMissions && kBattles != kMissions);

std::string dimensionNote(std::size_t extent, std::size_t index) {
    const std::string number = std::to_string(index + 1);
    if (extent == kCraftSlots) {
        return index < kShownCrafts ? std::string(kCraftNames[index]) : "spare slot " + number;
    }
    if (extent == kBattles) {
        return "battle " + number;
    }
    if (extent == kMissions) {
        return "mission " + number;
    }
    return {};
}

std::string indexCountText(int count) {
    switch (count) {
        case 0:
            return "no index";
        case 1:
            return "1 index";
        default:
            return std::to_string(count) + " indices";
    }
}

// The digits of each "[n]" after the name; nothing when they are not well formed.
std::optional<std::vector<std::string_view>> splitIndices(std::string_view text) {
    std::vector<std::string_view> indices;
    while (!text.empty()) {
        const auto close = text.find(']');
        if (text.front() != '[' || close == std::string_view::npos || close == 1) {
            return std::nullopt;
        }
        const std::string_view digits = text.substr(1, close - 1);
        if (digits.find_first_not_of("0123456789") != std::string_view::npos) {
            return std::nullopt;
        }
        indices.push_back(digits);
        text.remove_prefix(close + 1);
    }
    return indices;
}

// The index within an extent, or nothing when it lies outside (however many digits it has).
std::optional<std::size_t> indexWithin(std::string_view digits, std::size_t extent) {
    std::size_t index = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (error != std::errc{} || index >= extent) {
        return std::nullopt;
    }
    return index;
}

}  // namespace

std::string pathName(const ElementPath& path) {
    const FieldInfo& info = fieldInfo(path.field);
    std::string name(info.name);
    if (info.dimensions >= 1) {
        name += "[" + std::to_string(path.row) + "]";
    }
    if (info.dimensions == 2) {
        name += "[" + std::to_string(path.column) + "]";
    }
    return name;
}

std::string indexNote(const ElementPath& path) {
    const FieldInfo& info = fieldInfo(path.field);
    if (info.reserved() || info.dimensions == 0) {
        return {};
    }
    if (path.field == Field::ShipKills) {
        return path.row < kShipKillLabels.size() ? std::string(kShipKillLabels[path.row])
                                                 : std::string();
    }
    std::string note = dimensionNote(info.rows, path.row);
    if (info.dimensions == 2) {
        const std::string second = dimensionNote(info.columns, path.column);
        note += note.empty() || second.empty() ? second : ", " + second;
    }
    return note;
}

std::string elementLabel(const ElementPath& path) {
    const std::string note = indexNote(path);
    return note.empty() ? pathName(path) : pathName(path) + " (" + note + ")";
}

std::variant<ElementPath, std::string> parseFieldPath(std::string_view text) {
    const std::string_view name = text.substr(0, text.find('['));
    const auto field = findField(name);
    if (!field) {
        std::vector<std::string_view> names;
        for (const FieldInfo& info : kFieldTable) {
            if (!info.reserved()) {
                names.push_back(info.name);
            }
        }
        const auto meant = likelyMeant(names, name);
        return "unknown field \"" + std::string(name) + "\"" +
               (meant ? "; did you mean " + std::string(*meant) + "?" : std::string());
    }
    const FieldInfo& info = fieldInfo(*field);
    const auto indices = splitIndices(text.substr(name.size()));
    if (!indices) {
        return "malformed index in \"" + std::string(text) + "\"";
    }
    if (indices->size() != static_cast<std::size_t>(info.dimensions)) {
        return std::string(info.name) + " takes " + indexCountText(info.dimensions);
    }
    const std::size_t extents[] = {info.rows, info.columns};
    std::size_t values[] = {0, 0};
    for (std::size_t i = 0; i < indices->size(); ++i) {
        const auto index = indexWithin((*indices)[i], extents[i]);
        if (!index) {
            return "index " + std::string((*indices)[i]) + " of " + std::string(info.name) +
                   " is out of range (0.." + std::to_string(extents[i] - 1) + ")";
        }
        values[i] = *index;
    }
    const ElementPath path{*field, values[0], values[1]};
    return path;
}

}  // namespace pilot

#pragma once

// What the fuzz targets of the submission form share: a form's selections taken from input
// bytes, its texts cut off the input, and where the writer takes its scores from.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "BsfMatching.h"
#include "BsfText.h"
#include "FieldTable.h"

namespace fuzzing {

// A box's selection: 255 is "no selection"; a few beyond every list, too.
inline std::optional<std::size_t> selection(std::uint8_t byte) {
    if (byte == 255) {
        return std::nullopt;
    }
    return byte % 32;
}

// The form's mode and selections from 7 bytes: mode, battle, last mission, highscore bits,
// craft, from, to.
inline reports::BsfInput formOptions(const std::uint8_t* bytes) {
    reports::BsfInput input;
    input.mode = static_cast<reports::BsfInput::Mode>(bytes[0] % 3);
    input.battle = selection(bytes[1]);
    input.lastMission = selection(bytes[2]);
    for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
        input.highscore[mission] = (bytes[3] >> mission) & 1;
    }
    input.craft = selection(bytes[4]);
    input.fromMission = selection(bytes[5]);
    input.toMission = selection(bytes[6]);
    return input;
}

// Cuts the next text off the input: up to a NUL, without CR and LF (a typed line has none).
inline std::string nextText(std::string_view& rest) {
    const auto end = rest.find('\0');
    std::string text(rest.substr(0, end));
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return text;
}

// The place the writer takes the form's scores from, or nothing when it writes none.
inline std::optional<reports::BsfPlace> writtenPlace(const reports::BsfInput& input) {
    const auto within = [](const std::optional<std::size_t>& index, std::size_t count) {
        return index && *index < count;
    };
    if (input.mode == reports::BsfInput::Mode::Battle && within(input.battle, pilot::kBattles) &&
        within(input.lastMission, pilot::kMissions)) {
        return reports::BsfPlace{reports::BsfPlace::Kind::Battle, *input.battle, 0,
                                 *input.lastMission + 1};
    }
    if (input.mode == reports::BsfInput::Mode::CombatChamber &&
        within(input.craft, pilot::kShownCrafts) && within(input.fromMission, pilot::kMissions) &&
        within(input.toMission, pilot::kMissions) && *input.fromMission <= *input.toMission) {
        return reports::BsfPlace{reports::BsfPlace::Kind::CombatChamber, *input.craft,
                                 *input.fromMission, *input.toMission - *input.fromMission + 1};
    }
    return std::nullopt;
}

}  // namespace fuzzing

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string_view>

#include "NameSuggestion.h"

namespace {

// "Did you mean": the same name in another case first, else the one name within two slips
// of a key; nothing when none is close enough or two are equally close.
TEST(NameSuggestion, FindsTheNameMostLikelyMeant) {
    constexpr std::array<std::string_view, 8> kNames = {
        "Rank",     "TotalScore", "--battle", "--battle-no",
        "--combat", "--from",     "--to",     "BattleMissionScore"};
    const struct {
        std::string_view typed;
        std::optional<std::string_view> meant;
    } cases[] = {
        {"rank", "Rank"},
        {"RANK", "Rank"},
        {"totalscore", "TotalScore"},
        {"--batle", "--battle"},
        {"--battel", "--battle"},
        {"--battle-num", "--battle-no"},
        {"--combta", "--combat"},
        {"--form", "--from"},
        {"--tp", "--to"},
        {"--xy", std::nullopt},  // two slips in a word of four leave too little
        {"BattleMisionScore", "BattleMissionScore"},
        {"Callsign", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(pilot::likelyMeant(kNames, c.typed), c.meant);
    }
}

}  // namespace

#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace pilot {

// The name among `names` that `text` most likely meant, for a "did you mean" after a name
// that is not known: the same name in another case ("rank" for Rank), or else the one name
// within two slips of a key (a letter left out, added, changed, or two letters swapped:
// "--batle" for "--battle"). Nothing when no name is that close, or two are equally close.
[[nodiscard]] std::optional<std::string_view> likelyMeant(std::span<const std::string_view> names,
                                                          std::string_view text);

}  // namespace pilot

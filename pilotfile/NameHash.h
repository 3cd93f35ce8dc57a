#pragma once

#include <string>
#include <string_view>

namespace pilot {

// The 64-bit FNV-1a hash of the bytes as 16 lower-case hex digits. Stable across runs and
// builds, so that a later run makes the same name from the same bytes again; short and
// fast, but no guard against anyone: whoever names things with it checks what matters.
[[nodiscard]] std::string stableHash(std::string_view bytes);

}  // namespace pilot

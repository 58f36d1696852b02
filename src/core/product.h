#pragma once
// The product's name and the files named after it.
#include <string_view>

namespace trovik {

inline constexpr std::string_view kProduct = "Trovik";
// The options file, in BaseDirectory.
inline constexpr std::string_view kOptionsFile = "Trovik.ini";

}  // namespace trovik

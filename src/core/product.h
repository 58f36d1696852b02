#pragma once
// The product's name and the files named after it.
#include <string>
#include <string_view>

namespace trovik {

inline constexpr std::string_view kProduct = "Trovik";
// The caption of the boxes that carry the product's own name, whatever an
// extension made of maint.
inline std::string product() { return std::string(kProduct); }
// The options file, in BaseDirectory.
inline constexpr std::string_view kOptionsFile = "Trovik.ini";

}  // namespace trovik

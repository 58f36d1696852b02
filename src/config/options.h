#pragma once
// The options file: its name and the fresh file written on a first run.
#include <string>
#include <string_view>

#include "core/context.h"
#include "core/product.h"

namespace trovik {

// The options file of BaseDirectory.
inline std::string optionsPath(const Variables& v) {
  return v.realpath + std::string(kOptionsFile);
}

// Writes directory + "Trovik.ini" with every default, unless it exists.
void blankset(Context& ctx, std::string directory);

}  // namespace trovik

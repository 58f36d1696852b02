#pragma once
// The interface texts: every message, tag and caption the program shows,
// each a named variable that starts with its built-in wording.
#include <string>
#include <string_view>
#include <vector>

#include "core/product.h"
#include "core/texttable.h"

namespace trovik {

struct Texts {
  // Who gives a text its built-in wording.
  enum class Source { Creation, FormText, HelpText };

  // Message-box captions, fixed at window creation.
  std::string maint{kProduct};
  std::string warningt = "Warning";
  std::string confirmt = "Confirm";

#define TROVIK_TEXT_FIELD(key, source, wording) std::string key;
  TROVIK_TEXTS(TROVIK_TEXT_FIELD)
#undef TROVIK_TEXT_FIELD

#define TROVIK_FIXED_TEXT_FIELD(key, wording) std::string key = wording;
  TROVIK_FIXED_TEXTS(TROVIK_FIXED_TEXT_FIELD)
#undef TROVIK_FIXED_TEXT_FIELD

  // Gives the texts of one source their built-in wording, in table order.
  void setDefaults(Source source);

  struct Entry {
    std::string_view key;
    std::string Texts::*field;
    Source source;
    std::string_view wording;
  };
  static const std::vector<Entry>& table();
  // The text variable of a key (exact key), or nullptr.
  std::string* find(std::string_view key);
};

}  // namespace trovik

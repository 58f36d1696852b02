#include "core/texts.h"

namespace trovik {

const std::vector<Texts::Entry>& Texts::table() {
  static const std::vector<Entry> entries = {
#define TROVIK_TEXT_ENTRY(key, source, wording) {#key, &Texts::key, Source::source, wording},
      TROVIK_TEXTS(TROVIK_TEXT_ENTRY)
#undef TROVIK_TEXT_ENTRY
  };
  return entries;
}

void Texts::setDefaults(Source source) {
  for (const auto& e : table())
    if (e.source == source) this->*e.field = std::string(e.wording);
}

std::string* Texts::find(std::string_view key) {
  for (const auto& e : table())
    if (e.key == key) return &(this->*e.field);
  return nullptr;
}

}  // namespace trovik

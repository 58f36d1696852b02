#include "fakeplatform.h"

#include <cstdio>

namespace trovik::test {

Answer ScriptedBoxes::show(WindowHandle owner, const std::string& text, const std::string& caption,
                           Buttons buttons, Icon icon) {
  shown_.push_back({owner, text, caption, buttons, icon});
  if (script_.empty() && otherwise) return *otherwise;
  const std::optional<Step> step = script_.next("[" + caption + "] " + text);
  if (!step) return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  if (text.find(step->textPart) == std::string::npos)
    ADD_FAILURE() << "message box [" << caption << "] \"" << text << "\" lacks \"" << step->textPart
                  << "\"";
  return step->answer;
}

std::string FakeClock::formatShortDate(const Date& d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
  return buf;
}

}  // namespace trovik::test

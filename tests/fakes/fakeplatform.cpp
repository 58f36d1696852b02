#include "fakeplatform.h"

#include <cstdio>

namespace trovik::test {

ScriptedBoxes::~ScriptedBoxes() {
  for (const auto& s : script_)
    ADD_FAILURE() << "an expected message box never appeared: \"" << s.textPart << "\"";
}

Answer ScriptedBoxes::show(WindowHandle owner, const std::string& text, const std::string& caption,
                           Buttons buttons, Icon icon) {
  shown_.push_back({owner, text, caption, buttons, icon});
  if (script_.empty() && otherwise) return *otherwise;
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected message box [" << caption << "]: " << text;
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  }
  Step step = script_.front();
  script_.pop_front();
  if (text.find(step.textPart) == std::string::npos)
    ADD_FAILURE() << "message box [" << caption << "] \"" << text << "\" lacks \"" << step.textPart
                  << "\"";
  return step.answer;
}

std::string FakeClock::formatShortDate(const Date& d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
  return buf;
}

}  // namespace trovik::test

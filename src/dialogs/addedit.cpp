#include "dialogs/addedit.h"

#include "linkstore/paths.h"

namespace trovik {

void TAddEdit::chooseRunStyle(ui::RadioButton& choice) {
  for (ui::RadioButton* b : {&runnormal, &runmax, &runmin}) b->setChecked(b == &choice);
}

void TAddEdit::madd(int index) {
  ctx_.events.run(
      "madd",
      [&] {
        if (index < 0 || index >= link1_.count()) return;
        for (std::string member : entry::splitMembers(link1_.item(index), ctx_.vars.mrs)) {
          if (startsWith(member, kForced)) {
            foc.setChecked(true);
            member.erase(0, kForced.size());
          }
          mrl.add(member);
          clcommmrl(mrl.count() - 1);
        }
      },
      in(index, &EventSlots::cint));
}

void TAddEdit::clcommmrl(int k) {
  ctx_.events.run(
      "clcommmrl",
      [&] {
        MemberRunStyles.emplace_back();
        if (k < 0 || k >= mrl.count() || k >= static_cast<int>(MemberRunStyles.size())) return;
        std::string member = mrl.item(k);
        for (std::string_view suffix : {kRunMax, kRunMin}) {
          if (endsWith(member, suffix)) {
            member.resize(member.size() - suffix.size());
            MemberRunStyles[static_cast<size_t>(k)] = std::string(suffix);
          }
        }
        mrl.setItem(k, member);
      },
      in(k, &EventSlots::cint));
}

void TAddEdit::clcommedit2() {
  ctx_.events.run("clcommedit2", [&] {
    std::string text = path.text();
    if (endsWith(text, kRunMin)) {
      chooseRunStyle(runmin);
      text.resize(text.size() - kRunMin.size());
    } else if (endsWith(text, kRunMax)) {
      chooseRunStyle(runmax);
      text.resize(text.size() - kRunMax.size());
    } else {
      chooseRunStyle(runnormal);
    }
    path.setText(text);
  });
}

}  // namespace trovik

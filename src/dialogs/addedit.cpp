#include "dialogs/addedit.h"

#include "core/paths.h"

namespace trovik {

TAddEdit::TAddEdit(Context& ctx, const ui::ListBox& link1) : ctx_(ctx), link1_(link1) {
  AddEdit.setVisible(false);
  AddEdit.setBounds({0, 0, 330, 260});
  runnormal.setCaption("Normal");
  runnormal.setChecked(true);
  runmax.setCaption("Run maximized");
  runmin.setCaption("Run minimized");
  lfc.setCaption("Local file");
  lfc.setChecked(true);
  mr.setCaption("Multiple run...");
  foc.setCaption("Force order");
  addlink.setCaption("&Add");
  cancel.setCaption("Cancel");
  browse.setCaption("&Browse");
  afb.setCaption("Add file >>");
  rf.setCaption("<< Remove file");
  ef.setCaption("Edit file");
  cl.setCaption("Clear list");
  ctl.setCaption("Copy to list");
  mrl.setMultiSelect(true);
  // The designed places of the controls that the layout moves.
  path.setBounds({8, 60, 230, 21});
  browse.setBounds({244, 60, 75, 23});
  mrl.setBounds({8, 90, 230, 100});
  addlink.setBounds({160, 90, 75, 25});
  cancel.setBounds({244, 90, 75, 25});
  for (ui::Control* c : std::initializer_list<ui::Control*>{&runnormal, &runmin, &runmax, &mr})
    c->setBounds({8, 0, 120, 17});
  for (ui::Control* c : std::initializer_list<ui::Control*>{&mrl, &afb, &rf, &ef, &cl, &foc, &ctl})
    c->setVisible(false);
}

void TAddEdit::showDialog() { AddEdit.setVisible(true); }

void TAddEdit::dmrun() {
  ctx_.events.run("dmrun", [&] {
    for (ui::Control* c : std::initializer_list<ui::Control*>{&mrl, &afb, &cl, &rf, &ef, &runnormal,
                                                              &runmax, &runmin, &mr})
      c->setVisible(true);
    browse.setVisible(false);
  });
}

void TAddEdit::autosize() {
  ctx_.events.run("autosize", [&] {
    auto place = [](ui::Control& c, int top) {
      ui::Rect r = c.bounds();
      r.top = top;
      c.setBounds(r);
    };
    const bool group = mrl.visible();
    const int buttons = group ? mrl.bounds().top + mrl.bounds().height + 3 : browse.bounds().top;
    place(addlink, buttons);
    place(cancel, buttons);
    const int line = buttons + addlink.bounds().height + (group ? 7 : 20);
    place(Shape2, line);
    place(runnormal, line + 8);
    place(runmin, line + 8);
    place(runmax, line + 8 + runnormal.bounds().height + 7);
    place(mr, line + 8 + runnormal.bounds().height + 7);
    ui::Rect r = AddEdit.bounds();
    r.height = mr.bounds().top + mr.bounds().height + 10;
    AddEdit.setBounds(r);
  });
}

void TAddEdit::rebuildPath() {
  std::string text;
  for (const auto& m : mrl.items()) text += m + ctx_.vars.mrs;
  path.setText(text);
}

std::string TAddEdit::chosenRunStyle() const {
  return runmax.checked()   ? std::string(kRunMax)
         : runmin.checked() ? std::string(kRunMin)
                            : std::string();
}

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

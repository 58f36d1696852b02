// The Add/Edit dialog's life (creation, showing, closing, activation, help),
// its layout for the two modes, and the routines that read an entry into it.
#include "dialogs/addedit.h"

#include "core/paths.h"
#include "dialogs/acf.h"
#include "dialogs/openfiledir.h"

namespace trovik {

namespace {
constexpr int kWidth = 356;
}  // namespace

TAddEdit::TAddEdit(Context& ctx, AddEditOwner& owner, Launcher& launcher)
    : ctx_(ctx), owner_(owner), launcher_(launcher) {
  AddEdit.setVisible(false);
  AddEdit.setCaption("Add link");
  Label1.setCaption("Item label:");
  Label2.setCaption("File path/Address:");
  runnormal.setCaption("Normal");
  runnormal.setChecked(true);
  runmax.setCaption("Run maximized");
  runmin.setCaption("Run minimized");
  lfc.setCaption("Local file");
  lfc.setChecked(true);
  mr.setCaption("Multiple run...");
  foc.setCaption("Force order");
  foc.setHint("Attempt to run the items in the order on the list");
  addlink.setCaption("&Add");
  cancel.setCaption("Cancel");
  browse.setCaption("&Browse");
  browse.setHint("Open file browser");
  afb.setCaption("Add file >>");
  rf.setCaption("<< Remove file");
  ef.setCaption("Edit file");
  ef.setHint("Edit selected list item");
  cl.setCaption("Clear list");
  cl.setHint("Clear multiple run list");
  ctl.setCaption("Copy to list");
  lcase.setCaption("+&l");
  lcase.setHint("Change all contents of file path/address field to lower case");
  de.setCaption("+&f");
  de.setHint("Link direct to file (if file is a Windows link)");
  ac.setCaption("+&c");
  ac.setHint("Add command line option");
  cp.setCaption("^");
  cp.setHint("Copy to label");
  cpp.setCaption("^-&p");
  cpp.setHint("Copy to label without path");
  cppe.setCaption("^-p&e");
  cppe.setHint("Copy to label without path or extension");
  mrl.setMultiSelect(true);
  autoclist.setEnabled(false);

  // The designed places; autosize moves the lower part vertically.
  AddEdit.setBounds({0, 0, kWidth, 210});
  Label1.setBounds({8, 24, 120, 14});
  itemLabel.setBounds({8, 39, 236, 21});
  cp.setBounds({250, 39, 24, 21});
  cpp.setBounds({276, 39, 32, 21});
  cppe.setBounds({310, 39, 38, 21});
  Label2.setBounds({8, 64, 120, 14});
  lfc.setBounds({250, 63, 98, 16});
  // The completion list lies behind the path field; only its arrow shows.
  path.setBounds({8, 79, 218, 21});
  autoclist.setBounds({8, 79, 236, 21});
  lcase.setBounds({250, 79, 32, 21});
  de.setBounds({283, 79, 32, 21});
  ac.setBounds({316, 79, 32, 21});
  browse.setBounds({8, 106, 75, 25});
  mrl.setBounds({8, 106, 236, 100});
  afb.setBounds({250, 106, 98, 23});
  rf.setBounds({250, 132, 98, 23});
  ef.setBounds({250, 158, 98, 23});
  cl.setBounds({250, 184, 98, 23});
  addlink.setBounds({192, 106, 75, 25});
  cancel.setBounds({273, 106, 75, 25});
  ctl.setBounds({90, 106, 80, 25});
  foc.setBounds({8, 110, 80, 17});
  Shape2.setBounds({8, 0, kWidth - 16, 2});
  runnormal.setBounds({8, 0, 110, 17});
  runmin.setBounds({130, 0, 110, 17});
  runmax.setBounds({8, 0, 110, 17});
  mr.setBounds({130, 0, 110, 17});
  for (ui::Control* c : std::initializer_list<ui::Control*>{&mrl, &afb, &rf, &ef, &cl, &foc, &ctl})
    c->setVisible(false);
  autosize();
}

Answer TAddEdit::ask(const std::string& text, const std::string& caption, Buttons buttons,
                     Icon icon) {
  const AskingWindow dialog(ctx_, handle);
  return ctx_.message(text, caption, buttons, icon);
}

void TAddEdit::FormCreate(int dpi) {
  MemberRunStyles.clear();
  ctx_.vars.nolist = false;
  rescalecontrols(dpi);
  autosize();
}

void TAddEdit::rescalecontrols(int dpi) {
  frame.rescale(dpi,
                {&itemLabel, &path,    &autoclist, &mrl,    &runnormal, &runmax, &runmin, &mr, &foc,
                 &lfc,       &addlink, &cancel,    &browse, &afb,       &rf,     &ef,     &cl, &ctl,
                 &lcase,     &de,      &ac,        &cp,     &cpp,       &cppe,   &Shape2},
                {&Label1, &Label2});
}

void TAddEdit::showDialog() {
  frame.ttitle.setCaption(AddEdit.caption());
  if (!AddEdit.visible()) {
    AddEdit.setVisible(true);
    FormShow();
  }
  view().bringToFront();
}

void TAddEdit::returnFrom(ui::Control& dialog) {
  AddEdit.setEnabled(true);
  // In front before the other goes: a dialog that closes while it is active
  // hands the keyboard to the main window, which would come between.
  if (isOpen()) {
    view().bringToFront();
    // Typing goes on in the path, which both dialogs write.
    view().focus(path);
  }
  dialog.setVisible(false);
}

void TAddEdit::FormShow() {
  void* sender = this;
  ctx_.events.run(
      "AddEditshow",
      [&] {
        chooseRunStyle(runnormal);
        autoclist.setEnabled(ctx_.vars.autoclevel > 0);
      },
      in(sender, &EventSlots::cobject));
}

void TAddEdit::closeDialog() {
  if (!AddEdit.visible()) return;
  AddEdit.setVisible(false);
  AddEdit.setEnabled(true);
  view().dropDown(autoclist, false, 0);
  // The dialogs it opened go with it.
  if (acf && acf->isOpen()) acf->closeDialog();
  if (openFileDir && openFileDir->isOpen()) openFileDir->closeDialog();
  // A group's members, their run styles and its order belong to the link
  // that was open: left behind, they would join the next link the dialog
  // opens with.
  mrl.clear();
  MemberRunStyles.clear();
  foc.setChecked(false);
  ui::ListBox& names = owner_.names();
  ui::ListBox& snapbar = owner_.snapbarNames();
  snapbar.setItems(names.items());
  snapbar.setItemIndex(names.itemIndex());
  owner_.resort();
}

void TAddEdit::FormActivate() {
  // The dialog's activation is known to extensions by the options dialog's name.
  void* sender = this;
  ctx_.events.run(
      "OptionsFormactivate", [&] { frame.activate(ctx_.vars.sh); },
      in(sender, &EventSlots::cobject));
}

void TAddEdit::FormDeactivate() { frame.deactivate(); }

void TAddEdit::helpClicked() { launcher_.openHelp("addwindow.htm", ctx_.texts.maint); }

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
    // The mode is mr's: the main window ticks it when it hands over a
    // group, and the group's controls come with it.
    if (mr.checked() && !mrl.visible()) {
      dmrun();
      foc.setVisible(true);
    } else if (!mr.checked() && mrl.visible()) {
      for (ui::Control* c : std::initializer_list<ui::Control*>{&mrl, &afb, &cl, &rf, &ef, &foc})
        c->setVisible(false);
      browse.setVisible(true);
    }
    auto place = [](ui::Control& c, int top) {
      ui::Rect r = c.bounds();
      r.top = top;
      c.setBounds(r);
    };
    const bool group = mrl.visible();
    const int buttons = group ? mrl.bounds().top + mrl.bounds().height + 3 : browse.bounds().top;
    place(addlink, buttons);
    place(cancel, buttons);
    place(ctl, buttons);
    place(foc, buttons + 4);
    const int line = buttons + addlink.bounds().height + (group ? 7 : 20);
    place(Shape2, line);
    place(runnormal, line + 8);
    place(runmin, line + 8);
    place(runmax, line + 8 + runnormal.bounds().height + 7);
    place(mr, line + 8 + runnormal.bounds().height + 7);
    ui::Rect r = AddEdit.bounds();
    r.height = mr.bounds().top + mr.bounds().height + 10;
    AddEdit.setBounds(r);
    frame.resize(r.width, r.height);
  });
}

void TAddEdit::rebuildPath() {
  std::string text;
  for (const auto& m : mrl.items()) text += m + ctx_.vars.mrs;
  path.setText(text);
}

void TAddEdit::refreshmrl() {
  ctx_.events.run("refreshmrl", [&] {
    mrl.setItems(entry::splitMembers(path.text(), ctx_.vars.mrs));
    MemberRunStyles.resize(static_cast<size_t>(mrl.count()));
  });
}

std::string TAddEdit::chosenRunStyle() const {
  return runmax.checked()   ? std::string(kRunMax)
         : runmin.checked() ? std::string(kRunMin)
                            : std::string();
}

void TAddEdit::chooseRunStyle(ui::RadioButton& choice) {
  for (ui::RadioButton* b : {&runnormal, &runmax, &runmin}) b->setChecked(b == &choice);
}

void TAddEdit::showMultirunControls(bool group) {
  if (group) {
    dmrun();
    foc.setVisible(true);
  }
  autosize();
}

void TAddEdit::mrClick() {
  const std::string& sep = ctx_.vars.mrs;
  if (mr.checked()) {
    showMultirunControls(true);
    const std::string text = path.text();
    if (!text.empty() && !endsWith(text, sep)) {
      mrl.insert(0, text);
      MemberRunStyles.assign(1, chosenRunStyle());
      path.setText(text + sep);
    }
    return;
  }
  if (mrl.count() > 1 &&
      ask(ctx_.texts.f2mrmanualswitch, ctx_.texts.confirmt, Buttons::YesNo) != Answer::Yes) {
    const std::string first = mrl.item(0);
    path.setText(first);
    mrl.setItems({first});
    MemberRunStyles.resize(1);
  }
  showMultirunControls(false);
}

void TAddEdit::madd(int index) {
  ctx_.events.run(
      "madd",
      [&] {
        const ui::ListBox& links = owner_.links();
        if (index < 0 || index >= links.count()) return;
        for (std::string member : entry::splitMembers(links.item(index), ctx_.vars.mrs)) {
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

// Clicks and keys on the main list: running links, the click modes, handing
// links to the Add/Edit dialog, the fly multirun and the fileset keys.
#include "config/inifile.h"
#include "config/options.h"
#include "core/paths.h"
#include "dialogs/addedit.h"
#include "mainwindow/form1.h"
#include "ui/input.h"

namespace trovik {

namespace {}  // namespace

bool TForm1::flyMultirunTitle() const { return endsWith(ttitle.caption(), ctx_.texts.f1flymrtag); }

void TForm1::rebuildTitle() { ttitle.setCaption(modeTitle(true)); }

bool TForm1::firstTime(Option flag) {
  if (ctx_.vars.userlevel != 0) return false;
  TBigIniFile ini(ctx_.fs(), optionsPath(ctx_.vars));
  const bool first = readNumber(ini, flag) == 0;
  if (first) writeNumber(ini, flag, 1);
  ini.Free();
  return first;
}

void TForm1::List1Click(void* sender) {
  handle("form1list1click", sender, [&] {
    Variables& v = ctx_.vars;
    const Texts& t = ctx_.texts;
    const int i = List1.itemIndex();
    const bool valid = i >= 0 && i < List1.count();
    if (addEditOpen()) {
      if (valid) handToAddEdit(i);
      return;
    }
    if (valid && inListMode(t.f1delabc) && !v.norun) {
      List1.add(List1.item(i));
      mmlist.add(List1.item(i));
      link1.add(linkAt(i));
      resort();
    } else if (valid && inListMode(t.f1delabd) && !v.norun) {
      if (v.condel && !ctx_.askYes(t.f1confirmdel + List1.item(i) + "?", t.confirmt)) return;
      if (i < link1.count()) link1.remove(i);
      if (i < mmlist.count()) mmlist.remove(i);
      List1.remove(i);
      savelist();
    } else if (valid && inListMode(t.f1delabe) && !v.norun && addEdit) {
      TAddEdit& d = *addEdit;
      d.EditHome = v.apppath;
      d.AddPending = false;
      d.EditPending = true;
      d.ctl.setVisible(true);
      v.curitem = i;
      const std::string link = linkAt(i);
      if (ctx_.syntax.ismr(link)) {
        d.mr.setChecked(true);
        d.AddEdit.setCaption(t.f2captionedit);
        d.showDialog();
        d.dmrun();
        d.autosize();
        d.mrl.clear();
        d.MemberRunStyles.clear();
        d.madd(i);
        d.rebuildPath();
        if (!d.path.text().empty()) d.lfc.setCaption("Local files");
      } else {
        d.lfc.setCaption("Local file");
        d.mr.setChecked(false);
        for (ui::Control* c :
             std::initializer_list<ui::Control*>{&d.mrl, &d.afb, &d.cl, &d.rf, &d.ef})
          c->setVisible(false);
        d.browse.setVisible(true);
        d.autosize();
        d.AddEdit.setCaption(t.f2captionedit);
        d.showDialog();
        d.path.setText(link);
        d.clcommedit2();
        if (d.itemLabel.text().empty()) d.itemLabel.setText(List1.item(i));
      }
      d.itemLabel.setText(List1.item(i));
      d.addlink.setCaption(t.f2button1editcaption);
    } else if (!delab.visible() && !generalMoveMode() && v.lclick && !cmrb.visible() && valid &&
               !copyitems.checked() && !flyMultirunTitle() && !v.norun) {
      launcher.runlink(linkAt(i));
    }
    if (v.norun) v.norun = false;
  });
}

void TForm1::handToAddEdit(int i) {
  TAddEdit& d = *addEdit;
  const std::string& sep = ctx_.vars.mrs;
  const std::string link = i < link1.count() ? link1.item(i) : std::string();
  const Texts& t = ctx_.texts;
  // A No to either question changes nothing, but the dialog still comes forward: the user was
  // working in it.
  if (ctx_.syntax.ismr(link)) {
    if (ctx_.askYes(t.f1nomrmutlirun, t.warningt)) {
      d.mr.setChecked(true);
      const std::string path = d.path.text();
      if (d.mrl.count() == 0 && !path.empty() && !endsWith(path, sep)) {
        d.mrl.add(path);
        d.MemberRunStyles.assign(1, d.chosenRunStyle());
      }
      if (!path.empty() && !endsWith(path, sep)) d.path.setText(path + sep);
      d.madd(i);
      d.path.setText("");
      d.rebuildPath();
    }
  } else if (d.path.text().empty()) {
    d.path.setText(link);
    d.clcommedit2();
    if (d.itemLabel.text().empty()) d.itemLabel.setText(List1.item(i));
  } else if (d.mr.checked()) {
    const std::string path = d.path.text();
    const bool ended = endsWith(path, sep);
    if (!ended) {
      d.mrl.add(path);
      if (d.MemberRunStyles.empty()) d.MemberRunStyles.emplace_back();
      d.MemberRunStyles[0] = d.chosenRunStyle();
    }
    d.mrl.add(link);
    d.clcommmrl(std::max(d.mrl.count() - 1, 0));
    // The path takes the member as the list shows it: its run style is kept apart, and would
    // be stored twice if the path held it too.
    const std::string member = d.mrl.item(d.mrl.count() - 1);
    d.path.setText(ended ? path + member + sep : path + sep + member + sep);
  } else if (ctx_.askYes(t.f1nomrovrconfirm1 + t.f2button3showcaption + t.f1nomrovrconfirm2,
                         t.warningt)) {
    d.itemLabel.setText(List1.item(i));
    d.path.setText(link);
    d.clcommedit2();
  }
  d.showDialog();
}

void TForm1::List1DblClick() {
  handle("form1list1doubleclick", &List1, [&] {
    const int i = List1.itemIndex();
    const bool valid = i >= 0 && i < List1.count();
    if (generalMoveMode() && valid) {
      List1.add(List1.item(i));
      mmlist.add(List1.item(i));
      link1.add(linkAt(i));
    }
    if (!delab.visible() && !generalMoveMode() && !addEditOpen() && valid && !copyitems.checked() &&
        !ctx_.vars.lclick)
      launcher.runlink(linkAt(i));
  });
}

void TForm1::List1MouseDown(MouseButton button, ShiftState shift, int x, int y) {
  handle(
      "form1list1mousedown", &List1, [&] { ctx_.vars.norun = false; },
      in(button, &EventSlots::mousebutton), in(shift, &EventSlots::shiftstate),
      in(x, &EventSlots::cint), in(y, &EventSlots::cint2));
}

void TForm1::List1KeyDown(std::uint16_t& key, ShiftState shift) {
  handle(
      "form1list1keydown", &List1,
      [&] {
        Variables& v = ctx_.vars;
        if (movesThroughList(key)) v.norun = true;
        switch (key) {
          case vkEscape:
            v.norun = true;
            break;
          case vkBack:
          case vkSpace:
            stepFileset(key == vkSpace);
            if (key == vkSpace) v.norun = true;
            break;
          case vkReturn:
            List1Click(nullptr);
            break;
          case vkControl:
            if (!(shift & ssAlt)) FormKeyDown(key, shift);
            break;
          default:
            break;
        }
        if ((shift & ssCtrl) && (shift & ssAlt) && flyMultirunTitle()) endFlyMultirun();
      },
      inout(key, &EventSlots::cword), in(shift, &EventSlots::shiftstate));
}

void TForm1::List1KeyUp(std::uint16_t& key, ShiftState shift) {
  handle(
      "form1list1keyup", &List1, [] {}, inout(key, &EventSlots::cword),
      in(shift, &EventSlots::shiftstate));
}

void TForm1::FormKeyDown(std::uint16_t key, ShiftState shift) {
  const bool ctrl = key == vkControl || (shift & ssCtrl);
  if (!ctrl || (shift & ssAlt)) return;
  if (!delab.visible() && List1.visible() && !List1.multiSelect() && !cmrb.visible() &&
      !ctx_.vars.disflymr) {
    List1.setMultiSelect(true);
    ttitle.setCaption(ttitle.caption() + ctx_.texts.f1flymrtag);
  }
}

void TForm1::FormKeyUp(std::uint16_t, ShiftState shift) {
  if (shift & ssCtrl) return;
  const Variables& v = ctx_.vars;
  if (generalMoveMode() && flyMultirunTitle()) endFlyMultirun();
  if (delab.visible() || generalMoveMode() || cmrb.visible() || !List1.multiSelect()) return;
  std::vector<std::string> picked;
  for (int i = 0; i < List1.count() && i < link1.count(); ++i)
    if (List1.selected(i)) picked.push_back(link1.item(i));
  const int current = List1.itemIndex();
  // Forced order, when the user asked for it, needs two links to order.
  const bool forced = v.useforceflymr && picked.size() >= 2;
  std::string group;
  for (std::string link : picked) {
    if (forced && startsWith(link, kForced)) link.erase(0, kForced.size());
    group += link;
    if (!endsWith(group, v.mrs)) group += v.mrs;
  }
  List1.setMultiSelect(false);
  rebuildTitle();
  if (forced && current >= 0) List1.setItemIndex(current);
  if (!group.empty()) launcher.runlink(forced ? std::string(kForced) + group : group);
}

void TForm1::FormMouseDown(MouseButton button, ShiftState shift, int x, int y) {
  handle(
      "form1mousedown", this,
      [&] {
        const bool dialogs = dialogOpen();
        if (button == MouseButton::Left && !dialogs) view().startDrag();
      },
      in(button, &EventSlots::mousebutton), in(shift, &EventSlots::shiftstate),
      in(x, &EventSlots::cint), in(y, &EventSlots::cint2));
}

void TForm1::delabMouseDown(MouseButton button) {
  const bool dialogs = dialogOpen();
  if (button == MouseButton::Left && !dialogs) view().startDrag();
}

void TForm1::RLHandler(ui::MenuItem& sender) {
  handle("form1rlhandler", &sender, [&] {
    for (size_t i = 0; i < popupItems.size() && i < popupLinks.size(); ++i)
      if (popupItems[i] == &sender) {
        launcher.runlink(popupLinks[i]);
        return;
      }
  });
}

void TForm1::HistHandler(ui::MenuItem& sender) {
  handle("form1.histhandler", &sender, [&] {
    Variables& v = ctx_.vars;
    const Texts& t = ctx_.texts;
    savelist();
    saveformstate();
    int index = 0;
    while (index < Switch.childCount() && &Switch.child(index) != &sender) ++index;
    if (enterFileset(tabDirectory(index, sender.caption()), false)) {
      for (int k = 0; k < Switch.childCount(); ++k) Switch.child(k).setChecked(false);
      FormActivate();
    }
    if (firstTime(Option::SwitchTip)) ctx_.message(t.f1switchwith, product(), Buttons::Ok);
    // One rebuild only: it retires the clicked item, which lives until the
    // next rebuild; a second one here would free it under its own click.
    autobuild(v.realpath, -1);
    view().focus(mmlist.visible() ? mmlist : List1);
  });
}

}  // namespace trovik

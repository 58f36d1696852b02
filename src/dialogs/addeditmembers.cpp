// The members of a multirun group in the Add/Edit dialog: choosing one and
// its run style, adding, editing, removing, reordering and dropping members,
// and copying the link or members to the main list.
#include <algorithm>

#include "core/paths.h"
#include "dialogs/addedit.h"
#include "ui/pairedlist.h"

namespace trovik {

std::vector<int> TAddEdit::selectedMembers() const {
  std::vector<int> picked;
  for (int i = 0; i < mrl.count(); ++i)
    if (mrl.selected(i)) picked.push_back(i);
  return picked;
}

void TAddEdit::mrlClick() {
  const int i = mrl.itemIndex();
  if (i < 0 || i >= mrl.count()) return;
  MemberRunStyles.resize(static_cast<size_t>(mrl.count()));
  const std::string& style = MemberRunStyles[static_cast<size_t>(i)];
  chooseRunStyle(style == kRunMax ? runmax : style == kRunMin ? runmin : runnormal);
  // The cursor goes to the separator that ends the member.
  const std::string& text = path.text();
  size_t at = 0;
  for (int k = 0; k <= i; ++k) {
    const size_t sep = text.find(ctx_.vars.mrs[0], k == 0 ? 0 : at + 1);
    if (sep == std::string::npos) return;
    at = sep;
  }
  view().setCaret(path, static_cast<int>(at));
}

void TAddEdit::runStyleClick(ui::RadioButton& choice) {
  chooseRunStyle(choice);
  MemberRunStyles.resize(static_cast<size_t>(mrl.count()));
  for (int i : selectedMembers()) MemberRunStyles[static_cast<size_t>(i)] = chosenRunStyle();
}

void TAddEdit::afbClick() {
  ctx_.vars.adding = true;
  ctx_.vars.editing = false;
  const std::vector<int> picked = selectedMembers();
  openBrowser(!picked.empty()   ? mrl.item(picked.front())
              : mrl.count() > 0 ? mrl.item(mrl.count() - 1)
                                : path.text());
}

void TAddEdit::efClick() {
  const std::vector<int> picked = selectedMembers();
  if (picked.empty()) return;
  ctx_.vars.editing = true;
  ctx_.vars.adding = false;
  editedMember = picked.front();
  openBrowser(mrl.item(editedMember));
}

void TAddEdit::rfClick() {
  if (mrl.selCount() == 0) return;
  MemberRunStyles.resize(static_cast<size_t>(mrl.count()));
  ui::PairedList(mrl, MemberRunStyles).removeSelected();
  rebuildPath();
}

void TAddEdit::clClick() {
  if (ask(ctx_.texts.f2clearlistconfirm, ctx_.texts.confirmt, Buttons::YesNo) != Answer::Yes)
    return;
  mrl.clear();
  MemberRunStyles.clear();
  // The path holds the members too: left alone, confirming would store
  // the group the user has just cleared.
  rebuildPath();
}

void TAddEdit::mrlDragDrop(int index) {
  if (mrl.selCount() == 0) return;
  MemberRunStyles.resize(static_cast<size_t>(mrl.count()));
  const std::vector<int> moved =
      ui::PairedList(mrl, MemberRunStyles).moveSelected(index, ui::Landing::Before);
  rebuildPath();
  for (int i : moved) mrl.setSelected(i, true);
}

std::string TAddEdit::resolvedDrop(const std::string& file) {
  if (ctx_.vars.ldirect && lower(fileExtension(file)) == ".lnk") {
    std::string target = ctx_.platform.shellLinks.resolveTarget(file);
    if (!target.empty()) return target;
  }
  return file;
}

void TAddEdit::mrlDropFiles(const std::vector<std::string>& files, int index) {
  if (files.empty()) return;
  MemberRunStyles.resize(static_cast<size_t>(mrl.count()));
  int at = std::clamp(index, 0, mrl.count());
  for (const std::string& file : files)
    ui::PairedList(mrl, MemberRunStyles).insert(at++, resolvedDrop(file), {});
  rebuildPath();
}

std::string TAddEdit::groupEntry() {
  const std::string& text = path.text();
  const char sep = ctx_.vars.mrs.empty() ? '|' : ctx_.vars.mrs[0];
  std::string entry;
  size_t k = 0;
  // Every member keeps its run style, however long the group.
  for (char c : text) {
    if (c == sep && k < MemberRunStyles.size()) entry += MemberRunStyles[k];
    if (c == sep) ++k;
    entry += c;
  }
  return foc.checked() ? std::string(kForced) + entry : entry;
}

void TAddEdit::append(const std::string& name, const std::string& link) {
  owner_.names().add(name);
  owner_.links().add(link);
  owner_.snapbarNames().add(name);
}

void TAddEdit::ctlClick() {
  const std::vector<int> picked = selectedMembers();
  const bool group = mr.checked() && mrl.count() > 0;
  if (group && picked.empty()) {
    if (ask(ctx_.texts.f2copymrwarning, ctx_.texts.warningt, Buttons::YesNo) != Answer::Yes) return;
    append(itemLabel.text(), groupEntry());
  } else if (group) {
    MemberRunStyles.resize(static_cast<size_t>(mrl.count()));
    for (int i : picked) {
      const std::string& member = mrl.item(i);
      std::string name = fileNamePart(ctx_.syntax.removecommands(member));
      if (ctx_.vars.dropext) name = withoutExtension(name);
      append(name, member + MemberRunStyles[static_cast<size_t>(i)]);
    }
  } else if (!itemLabel.text().empty() || !path.text().empty()) {
    append(itemLabel.text(), path.text() + chosenRunStyle());
  } else {
    return;
  }
  owner_.savelist();
}

}  // namespace trovik

// Confirming the Add/Edit dialog: the beginner's tips, the check that local
// targets exist, composing the entry, and storing it in the current fileset
// or in the fileset the edited link came from.
#include "core/paths.h"
#include "core/textlines.h"
#include "dialogs/addedit.h"
#include "linkstore/linkstore.h"

namespace trovik {

namespace {
constexpr const char* kErrorCaption = "Error";
constexpr const char* kFilesetGone =
    "The fileset that this link belongs to cannot be found. Use Copy to list to add this link to "
    "the current fileset.";
constexpr const char* kLinkGone =
    "The link being edited is no longer in its fileset. Use Copy to list to add this link to the "
    "current fileset.";
constexpr const char* kNothingToRun =
    "This link has nothing to run. Type a file path or an internet address, or add files to the "
    "multiple run list.";

// The other letter of a letter's pair (A and a), or 0.
unsigned char otherCase(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c - 'A' + 'a');
  return 0;
}
}  // namespace

void TAddEdit::accessKeyTip() {
  const std::string label = itemLabel.text();
  if (label.empty()) return;
  const Texts& t = ctx_.texts;
  const unsigned char first = static_cast<unsigned char>(label[0]);
  // The item being edited does not compete with itself; it is in the list
  // only when it came from the current fileset.
  const ui::ListBox& names = owner_.names();
  const int self = EditPending && (EditHome.empty() || sameText(EditHome, ctx_.vars.apppath))
                       ? ctx_.vars.curitem
                       : -1;
  bool taken[256] = {};
  bool clash = false;
  for (int i = 0; i < names.count(); ++i) {
    if (i == self || names.item(i).empty()) continue;
    const unsigned char c = static_cast<unsigned char>(names.item(i)[0]);
    clash = clash || c == first;
    if (c < '!') continue;
    taken[c] = true;
    taken[otherCase(c)] = true;
  }
  if (!clash) {
    ask(t.f2usekey1 + static_cast<char>(first) + t.f2usekey2, t.maint, Buttons::Ok);
    return;
  }
  for (int c = '!'; c < 256; ++c) {
    if (taken[c]) continue;
    const std::string free(1, static_cast<char>(c));
    if (ask(t.f2addnumber1 + free + t.f2addnumber2, t.maint, Buttons::YesNo) == Answer::Yes)
      itemLabel.setText(free + " " + label);
    return;
  }
}

std::vector<std::string> TAddEdit::targets() const {
  const bool group = ctx_.syntax.ismr(path.text()) || mr.checked();
  return group ? mrl.items() : std::vector{path.text()};
}

bool TAddEdit::somethingToRun() {
  for (const std::string& member : targets()) {
    const std::string target = ctx_.syntax.removecommands(member);
    if (target.find_first_not_of(" \t") != std::string::npos) return true;
  }
  // An entry that starts nothing would only fail each time it is run.
  ask(kNothingToRun, ctx_.texts.maint, Buttons::Ok);
  view().focus(path);
  return false;
}

bool TAddEdit::localFilesExist() {
  if (!lfc.checked()) return true;
  const Texts& t = ctx_.texts;
  FileSystem& fs = ctx_.fs();
  const bool group = ctx_.syntax.ismr(path.text()) || mr.checked();
  for (const std::string& member : targets()) {
    std::string target = lower(ctx_.syntax.removecommands(member));
    // A folder may be written without its closing backslash.
    if (!fs.fileExists(target) && fileExtension(target).empty() && !endsWith(target, "\\"))
      target += '\\';
    if (fs.fileExists(target) || fs.directoryExists(target)) continue;
    ask(group ? t.f2nolocalfile1 + member + t.f2nolocalfile2 : t.f2nolocalfile, t.maint,
        Buttons::Ok);
    return false;
  }
  return true;
}

bool TAddEdit::storeInOtherFileset(const std::string& entry) {
  LinkStore& filesets = owner_.filesets();
  const std::string home = withBackslash(EditHome);
  try {
    FilesetLists lists;
    if (!filesets.read(home, lists)) {
      ask(kFilesetGone, kErrorCaption, Buttons::Ok);
      return false;
    }
    const int i = ctx_.vars.curitem;
    if (i < 0 || i >= static_cast<int>(lists.links.size()) ||
        i >= static_cast<int>(lists.names.size())) {
      ask(kLinkGone, kErrorCaption, Buttons::Ok);
      return false;
    }
    lists.links[static_cast<size_t>(i)] = entry;
    lists.names[static_cast<size_t>(i)] = itemLabel.text();
    // Both files or neither, as a save of the current fileset writes them.
    filesets.write(home, lists.names, lists.links);
  } catch (const IoError& e) {
    reportIoError(e);
    return false;
  }
  return true;
}

bool TAddEdit::store(const std::string& entry) {
  if (AddPending) {
    append(itemLabel.text(), entry);
    AddPending = false;
    return true;
  }
  if (!EditPending) return true;
  if (EditHome.empty() || sameText(withBackslash(EditHome), withBackslash(ctx_.vars.apppath))) {
    ui::ListBox& names = owner_.names();
    ui::ListBox& links = owner_.links();
    const int i = ctx_.vars.curitem;
    if (i < 0 || i >= names.count() || i >= links.count()) {
      ask(kLinkGone, kErrorCaption, Buttons::Ok);
      return false;
    }
    names.setItem(i, itemLabel.text());
    links.setItem(i, entry);
    ui::ListBox& snapbar = owner_.snapbarNames();
    if (i < snapbar.count()) snapbar.setItem(i, itemLabel.text());
  } else if (!storeInOtherFileset(entry)) {
    return false;
  }
  EditPending = false;
  return true;
}

void TAddEdit::addlinkClick() {
  const Texts& t = ctx_.texts;
  if (!somethingToRun()) return;
  if (ctx_.vars.userlevel == 0) {
    accessKeyTip();
    if (owner_.names().count() > 50 && ask(t.f2newfileset, t.maint, Buttons::YesNo) == Answer::Yes)
      owner_.newFileset();
  }
  if (!localFilesExist()) return;
  const bool group = ctx_.syntax.ismr(path.text()) || mr.checked();
  if (!store(group ? groupEntry() : path.text() + chosenRunStyle())) return;
  try {
    owner_.savelist();
  } catch (const IoError& e) {
    // The link is in the list and goes to disk with the next save.
    reportIoError(e);
  }
  owner_.editModeDone();
  closeDialog();
}

}  // namespace trovik

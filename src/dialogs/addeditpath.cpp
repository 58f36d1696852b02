// The Add/Edit dialog's path field: typing, completion, the cursor within a
// group, and the buttons that rewrite the path or copy it to the label.
#include <algorithm>

#include "core/paths.h"
#include "dialogs/acf.h"
#include "dialogs/addedit.h"
#include "dialogs/openfiledir.h"

namespace trovik {

namespace {
// How many directory entries completion looks at between two turns of the
// message queue: often enough to keep the dialog answering, seldom enough
// not to cost more than the entries themselves.
constexpr int kEntriesPerTurn = 256;
constexpr int kCompletionRows = 8;
constexpr const char* kNoShortcut = "Selected .lnk file does not exist";
constexpr const char* kNoShortcutCaption = "File not found";

bool isShortcut(const std::string& path) { return lower(fileExtension(path)) == ".lnk"; }
}  // namespace

TAddEdit::Span TAddEdit::memberAtCursor() const {
  const std::string& text = path.text();
  const char sep = ctx_.vars.mrs.empty() ? '|' : ctx_.vars.mrs[0];
  const size_t at =
      static_cast<size_t>(std::clamp(view().caret(path), 0, static_cast<int>(text.size())));
  Span s;
  const size_t before = at == 0 ? std::string::npos : text.rfind(sep, at - 1);
  s.begin = before == std::string::npos ? 0 : before + 1;
  const size_t next = text.find(sep, at);
  s.end = next == std::string::npos ? text.size() : next;
  return s;
}

void TAddEdit::pathChange() {
  const std::string text = path.text();
  const bool group = ctx_.syntax.ismr(text);
  // Typing a separator switches the dialog to the multirun view and back;
  // the members themselves come from the path.
  const bool changed = group != mr.checked();
  mr.setChecked(group);
  if (changed) showMultirunControls(group);
  refreshmrl();
  if (ctx_.vars.autoclevel <= 0 || !lfc.checked()) return;
  if (group) {
    lfc.setCaption("Local files");
    const std::string last = text.substr(text.rfind(ctx_.vars.mrs[0]) + 1);
    if (last.empty())
      view().dropDown(autoclist, false, kCompletionRows);
    else
      autocomplete(last);
  } else {
    lfc.setCaption("Local file");
    autocomplete(text);
  }
}

void TAddEdit::autocomplete(std::string text) {
  ctx_.events.run(
      "autocomplete",
      [&] {
        // A keystroke served while the entries come in starts a newer
        // completion; this one then leaves the list to it.
        const unsigned run = ++completions_;
        std::vector<std::string> offered;
        const size_t slash = text.rfind('\\');
        if (slash != std::string::npos) {
          const std::string dir = text.substr(0, slash + 1);
          const std::string want = lower(text);
          int seen = 0;
          bool superseded = false;
          // Only names with the typed beginning are read, not the whole
          // directory, and the queue is served while they come in. The list
          // takes them in one batch at the end: one at a time, a list box is
          // many times slower.
          ctx_.fs().visitDirectory(dir, text.substr(slash + 1), [&](const DirEntry& e) {
            if (e.name != "." && e.name != "..") {
              std::string full = dir + e.name;
              if (e.isDirectory) full += '\\';
              const std::string low = lower(full);
              if (startsWith(low, want) && low != want) offered.push_back(std::move(full));
            }
            if (++seen % kEntriesPerTurn == 0) {
              ctx_.platform.pump.processMessages();
              superseded = run != completions_;
            }
            return !superseded;
          });
          if (superseded) return;
        }
        const bool any = !offered.empty();
        autoclist.setItems(std::move(offered));
        if (!ctx_.vars.nolist) view().dropDown(autoclist, any, kCompletionRows);
      },
      in(text, &EventSlots::cstring));
}

void TAddEdit::pathClick() {
  const std::string& text = path.text();
  if (!ctx_.syntax.ismr(text)) return;
  const int at = std::clamp(view().caret(path), 0, static_cast<int>(text.size()));
  const int n = static_cast<int>(std::count(text.begin(), text.begin() + at, ctx_.vars.mrs[0]));
  if (n >= mrl.count()) return;
  for (int i = 0; i < mrl.count(); ++i) mrl.setSelected(i, i == n);
  mrl.setItemIndex(n);
}

bool TAddEdit::pathEscape() {
  if (!view().droppedDown(autoclist)) return false;
  view().dropDown(autoclist, false, kCompletionRows);
  ctx_.vars.nolist = true;
  return true;
}

void TAddEdit::autoclistDropDown() { ctx_.vars.nolist = false; }

void TAddEdit::autoclistClick() {
  const int i = autoclist.itemIndex();
  if (i < 0 || i >= autoclist.count()) return;
  const std::string choice = autoclist.item(i);
  std::string text = path.text();
  size_t cursor = choice.size();
  if (ctx_.syntax.ismr(text)) {
    const Span s = memberAtCursor();
    text = text.substr(0, s.begin) + choice + text.substr(s.end);
    cursor += s.begin;
    path.setText(text);
    refreshmrl();
  } else {
    path.setText(choice);
  }
  view().dropDown(autoclist, false, kCompletionRows);
  view().focus(path);
  view().setCaret(path, static_cast<int>(cursor));
}

void TAddEdit::lcaseClick() {
  path.setText(lower(path.text()));
  refreshmrl();
}

std::string TAddEdit::labelFrom(const std::string& text, LabelCopy how) {
  if (how == LabelCopy::Whole) return text;
  const std::string target = ctx_.syntax.removecommands(text);
  std::string name = fileNamePart(target);
  if (name.empty()) {
    // A folder: its directory, without the closing backslash.
    name = target;
    while (!name.empty() && name.back() == '\\') name.pop_back();
  }
  return how == LabelCopy::Name ? name : withoutExtension(name);
}

void TAddEdit::copyToLabel(LabelCopy how) {
  const std::string text = path.text();
  if (text.empty()) return;
  if (!ctx_.syntax.ismr(text) && !mr.checked()) {
    itemLabel.setText(labelFrom(text, how));
    return;
  }
  if (ask(ctx_.texts.f2addseperate, ctx_.texts.confirmt, Buttons::YesNo) == Answer::Yes) {
    if (mrl.count() == 0) return;
    const std::vector<int> picked = selectedMembers();
    itemLabel.setText(labelFrom(mrl.item(picked.empty() ? 0 : picked.front()), how));
    return;
  }
  std::string label;
  for (int i = 0; i < mrl.count(); ++i) {
    if (i > 0) label += ", ";
    label += labelFrom(mrl.item(i), how);
  }
  itemLabel.setText(label);
}

void TAddEdit::cpClick() { copyToLabel(LabelCopy::Whole); }
void TAddEdit::cppClick() { copyToLabel(LabelCopy::Name); }
void TAddEdit::cppeClick() { copyToLabel(LabelCopy::NameWithoutExtension); }

void TAddEdit::deClick() {
  // The shortcut's target, or nothing when it is no shortcut or is gone.
  auto direct = [&](const std::string& file) -> std::string {
    if (!isShortcut(file)) return {};
    if (!ctx_.fs().fileExists(file)) {
      ask(kNoShortcut, kNoShortcutCaption, Buttons::Ok);
      return {};
    }
    return ctx_.platform.shellLinks.resolveTarget(file);
  };
  if (!ctx_.syntax.ismr(path.text()) && !mr.checked()) {
    const std::string target = direct(path.text());
    if (!target.empty()) path.setText(target);
    return;
  }
  const std::vector<int> picked = selectedMembers();
  if (picked.empty()) return;
  const std::string target = direct(mrl.item(picked.front()));
  if (target.empty()) return;
  mrl.setItem(picked.front(), target);
  rebuildPath();
}

void TAddEdit::acClick() {
  if (!acf) return;
  std::string part = path.text();
  if (ctx_.syntax.ismr(part)) {
    const Span s = memberAtCursor();
    part = part.substr(s.begin, s.end - s.begin);
  }
  acf->showDialog(ctx_.syntax.extractcommand(part));
}

void TAddEdit::openBrowser(const std::string& target) {
  if (!openFileDir) return;
  openFileDir->showDialog(directoryPart(ctx_.syntax.removecommands(target)));
}

void TAddEdit::browseClick() {
  Variables& v = ctx_.vars;
  v.adding = false;
  v.editing = false;
  const std::vector<int> picked = selectedMembers();
  const bool group = ctx_.syntax.ismr(path.text());
  openBrowser(group && !picked.empty() ? mrl.item(picked.front()) : path.text());
}

}  // namespace trovik

// The "Trovik+" page of the options dialog: the installed extensions, their
// installation and removal, and their options and about boxes.
#include "core/paths.h"
#include "core/textlines.h"
#include "dialogs/optionsform.h"
#include "extensions/records.h"
#include "platform/storedtext.h"

namespace trovik {

namespace {

constexpr std::string_view kMissingFile = " (Error: File not found)";

// The text before the first "|", the whole line when it has none.
std::string beforeBar(std::string_view line) { return std::string(recordField(line, 1)); }

// The name shown for a record line (field 2; see loadvplist for a line without "|").
std::string recordName(std::string_view line) {
  if (line.find('|') == std::string_view::npos) return std::string(line);
  return std::string(recordField(line, 2));
}

}  // namespace

void TOptionsForm::notice(const std::string& text) {
  ctx_.platform.boxes.show(owner(), text, ctx_.texts.maint, Buttons::Ok, Icon::None);
}

void TOptionsForm::loadvplist() {
  ctx_.events.run("loadvplist", [&] {
    FileSystem& fs = ctx_.fs();
    const std::string path = extensions_.listPath();
    if (!fs.fileExists(path)) return;
    vpoptions.setEnabled(false);
    vpabout.setEnabled(false);
    const std::vector<std::string> lines = extensionLines(readStoredText(fs, path));
    std::vector<std::string> rows;
    for (const Block& b : fileBlocks(lines)) {
      const std::string& record = lines[b.first];
      std::string row = recordName(record);
      if (!fs.fileExists(beforeBar(record))) row += kMissingFile;
      rows.push_back(std::move(row));
    }
    vplist.setItems(std::move(rows));
  });
}

bool TOptionsForm::selectedRecord(std::string& record) {
  const int row = vplist.itemIndex();
  const std::string path = extensions_.listPath();
  if (row < 0 || !ctx_.fs().fileExists(path)) return false;
  const std::vector<std::string> lines = extensionLines(readStoredText(ctx_.fs(), path));
  const std::vector<Block> blocks = fileBlocks(lines);
  if (static_cast<size_t>(row) >= blocks.size()) return false;
  record = lines[blocks[static_cast<size_t>(row)].first];
  return true;
}

void TOptionsForm::vplistClick() {
  vpoptions.setEnabled(false);
  vpabout.setEnabled(false);
  std::string record;
  if (!selectedRecord(record)) return;
  vpoptions.setEnabled(lower(recordField(record, 3)) == "true");
  vpabout.setEnabled(lower(recordField(record, 4)) == "true");
}

void TOptionsForm::vplistDblClick() {
  if (vpoptions.enabled())
    vpoptionsClick();
  else if (vpabout.enabled())
    vpaboutClick();
}

void TOptionsForm::vpoptionsClick() {
  std::string record;
  if (selectedRecord(record)) extensions_.runvpa(beforeBar(record), "showoptions");
}

void TOptionsForm::vpaboutClick() {
  std::string record;
  if (selectedRecord(record)) extensions_.runvpa(beforeBar(record), "showabout");
}

void TOptionsForm::vprefreshClick() { loadvplist(); }

void TOptionsForm::disvpcClick() {
  const bool on = !disvpc.checked();
  for (ui::Control* c : {static_cast<ui::Control*>(&vplist), &vpinstall, &vpremove, &vprefresh})
    c->setEnabled(on);
  if (!on) {
    vpabout.setEnabled(false);
    vpoptions.setEnabled(false);
  } else if (vplist.itemIndex() >= 0) {
    vplistClick();
  }
}

void TOptionsForm::vpinstallClick() {
  FileSystem& fs = ctx_.fs();
  vpOpen.initialDir = ctx_.vars.apppath;
  vpOpen.fileName.clear();
  if (!ctx_.platform.openDialog.execute(handle, vpOpen)) return;
  const std::string dll = vpOpen.fileName;

  const std::string txt = dll.substr(0, dll.size() < 4 ? 0 : dll.size() - 4) + ".txt";
  if (!fs.fileExists(txt)) {
    notice(ctx_.texts.f4nodlltext1 + txt + ctx_.texts.f4nodlltext2);
    return;
  }
  if (!extensions_.offersDllInfo2(dll)) {
    notice(ctx_.texts.f4nodllinfo);
    return;
  }

  // The block: the record line (the DLL path in front of the text file's
  // first line), then the text file's lines up to and including its first
  // empty line. The record line is never empty, so what ends the copy is the
  // text file's own line: an empty first line ends it at once.
  const std::vector<std::string> text = extensionLines(readStoredText(fs, txt));
  const std::string first = text.empty() ? std::string() : text.front();
  std::vector<std::string> block{dll + "|" + first};
  for (size_t i = 1; i < text.size() && !text[i - 1].empty(); ++i) block.push_back(text[i]);

  // vp2.qdx is extended as it stands, and replaced whole, so a failed write
  // leaves the old file intact.
  const std::string list = extensions_.listPath();
  std::string all = fs.fileExists(list) ? readStoredText(fs, list) : std::string();
  const std::vector<std::string> existing = extensionLines(all);
  if (!all.empty() && all.back() != '\n' && all.back() != '\r') all += "\r\n";
  // A last block whose text file had no empty line is closed first, or the
  // new record would be read as one more line of its description.
  if (!existing.empty() && !existing.back().empty()) all += "\r\n";
  all += joinLines(block);
  writeFileAtomic(fs, list, storedBytes(fs, std::move(all)));

  vplist.add(beforeBar(first));
  extensions_.loadList();
  extensions_.announceInstalled(dll);
}

void TOptionsForm::vpremoveClick() {
  const int row = vplist.itemIndex();
  if (row < 0) return;
  FileSystem& fs = ctx_.fs();
  const std::string list = extensions_.listPath();
  const std::vector<std::string> lines =
      fs.fileExists(list) ? extensionLines(readStoredText(fs, list)) : std::vector<std::string>();
  const std::vector<Block> blocks = fileBlocks(lines);
  const bool found = static_cast<size_t>(row) < blocks.size();
  const std::string record = found ? lines[blocks[static_cast<size_t>(row)].first] : std::string();

  // The shorter list is written in full beside vp2.qdx and only then moved
  // over it: at every moment one complete list is on disk.
  const std::string scratch = ctx_.vars.realpath + std::string(kExtensionScratchFile);
  try {
    fs.writeFile(scratch,
                 storedBytes(fs, joinLines(withoutBlock(lines, static_cast<size_t>(row)))));
    fs.replaceFile(scratch, list);
  } catch (...) {
    fs.deleteFile(scratch);
    throw;
  }

  if (row < vplist.count()) vplist.remove(row);
  extensions_.loadList();
  vpabout.setEnabled(false);
  vpoptions.setEnabled(false);
  if (found) extensions_.removed(beforeBar(record));
}

}  // namespace trovik

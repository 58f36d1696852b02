#include "platform/filesystem.h"

namespace trovik {

namespace {
std::string describe(IoError::Op op, const std::string& path, const std::string& reason) {
  const char* verb = "access";
  switch (op) {
    case IoError::Op::Read:
      verb = "read";
      break;
    case IoError::Op::Write:
      verb = "write";
      break;
    case IoError::Op::Create:
      verb = "create";
      break;
    case IoError::Op::Delete:
      verb = "delete";
      break;
    case IoError::Op::Rename:
      verb = "replace";
      break;
  }
  return std::string("Could not ") + verb + " the file " + path + ": " + reason;
}
}  // namespace

IoError::IoError(Op op, std::string path, std::string reason)
    : std::runtime_error(describe(op, path, reason)),
      op_(op),
      path_(std::move(path)),
      reason_(std::move(reason)) {}

std::string scratchPathFor(const std::string& path) { return path + ".new"; }

void FileSystem::visitDirectory(const std::string& dir, const std::string& namePrefix,
                                const Visit& visit) const {
  auto folded = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (const DirEntry& e : listDirectory(dir)) {
    if (e.name.size() < namePrefix.size()) continue;
    size_t i = 0;
    while (i < namePrefix.size() && folded(e.name[i]) == folded(namePrefix[i])) ++i;
    if (i == namePrefix.size() && !visit(e)) return;
  }
}

namespace {

std::string backupPathFor(const std::string& path) { return path + ".old"; }
std::string journalPathFor(const std::string& path) { return path + ".txn"; }

// Clean-up that must not hide the failure being handled.
void tryDelete(FileSystem& fs, const std::string& path) noexcept {
  try {
    fs.deleteFile(path);
  } catch (...) {
  }
}

void mustDelete(FileSystem& fs, const std::string& path) {
  if (fs.fileExists(path) && !fs.deleteFile(path))
    throw IoError(IoError::Op::Delete, path, "The file could not be deleted.");
}

struct JournalEntry {
  bool existed;
  std::string path;
};

std::string journalText(const std::vector<JournalEntry>& entries) {
  std::string text;
  for (const auto& e : entries) text += (e.existed ? "1\t" : "0\t") + e.path + "\r\n";
  return text;
}

std::vector<JournalEntry> parseJournal(const std::string& text) {
  std::vector<JournalEntry> entries;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (line.size() > 2 && line[1] == '\t') entries.push_back({line[0] == '1', line.substr(2)});
    start = end + 2;
  }
  return entries;
}

// Puts the old files of a group back: a backup returns over its file, a
// file that did not exist before goes again.
void restore(FileSystem& fs, const std::vector<JournalEntry>& entries,
             const std::vector<bool>& backedUp) {
  for (size_t i = 0; i < entries.size(); ++i) {
    const JournalEntry& e = entries[i];
    if (e.existed) {
      if (backedUp[i]) fs.replaceFile(backupPathFor(e.path), e.path);
    } else {
      fs.deleteFile(e.path);
    }
  }
}

}  // namespace

void writeFileAtomic(FileSystem& fs, const std::string& path, const std::string& bytes) {
  const std::string scratch = scratchPathFor(path);
  try {
    fs.writeFile(scratch, bytes);
    fs.replaceFile(scratch, path);
  } catch (...) {
    tryDelete(fs, scratch);
    throw;
  }
}

void writeFilesAtomic(FileSystem& fs, const std::vector<FileContent>& files) {
  if (files.size() == 1) return writeFileAtomic(fs, files[0].path, files[0].bytes);
  if (files.empty()) return;

  std::vector<JournalEntry> entries;
  for (const auto& f : files) entries.push_back({fs.fileExists(f.path), f.path});
  const std::string journal = journalPathFor(files.front().path);
  std::vector<bool> backedUp(files.size(), false);
  bool journalWritten = false;
  try {
    for (const auto& f : files) fs.writeFile(scratchPathFor(f.path), f.bytes);
    // A backup left by an earlier write must not be taken for one of this
    // write: with the journal on disk, every backup belongs to it.
    for (const auto& e : entries)
      if (e.existed) mustDelete(fs, backupPathFor(e.path));
    fs.writeFile(journal, journalText(entries));
    journalWritten = true;
    for (size_t i = 0; i < files.size(); ++i) {
      if (entries[i].existed) {
        fs.replaceFile(files[i].path, backupPathFor(files[i].path));
        backedUp[i] = true;
      }
      fs.replaceFile(scratchPathFor(files[i].path), files[i].path);
    }
    mustDelete(fs, journal);  // the commit
  } catch (...) {
    // Everything goes back as it was; what cannot (the disk is gone) stays
    // with the journal, for recoverFilesAtomic at the next start.
    try {
      if (journalWritten) restore(fs, entries, backedUp);
      tryDelete(fs, journal);
    } catch (...) {
    }
    for (const auto& f : files) tryDelete(fs, scratchPathFor(f.path));
    throw;
  }
  for (const auto& e : entries)
    if (e.existed) tryDelete(fs, backupPathFor(e.path));
}

void recoverFilesAtomic(FileSystem& fs, const std::vector<std::string>& paths) {
  for (const auto& p : paths) {
    const std::string journal = journalPathFor(p);
    if (!fs.fileExists(journal)) continue;
    const std::vector<JournalEntry> entries = parseJournal(fs.readFile(journal));
    std::vector<bool> backedUp;
    for (const auto& e : entries) backedUp.push_back(fs.fileExists(backupPathFor(e.path)));
    restore(fs, entries, backedUp);
    for (const auto& e : entries) tryDelete(fs, scratchPathFor(e.path));
    mustDelete(fs, journal);
  }
  // No journal: whatever stands is a finished write; its leftovers go.
  for (const auto& p : paths) {
    if (fs.fileExists(scratchPathFor(p))) tryDelete(fs, scratchPathFor(p));
    if (fs.fileExists(backupPathFor(p))) tryDelete(fs, backupPathFor(p));
  }
}

}  // namespace trovik

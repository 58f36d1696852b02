#include "platform/filesystem.h"

#include <algorithm>

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

std::string FileSystem::ansiToUtf8(std::string_view bytes) const {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string FileSystem::utf8ToAnsi(std::string_view text, bool* exact) const {
  std::string out;
  out.reserve(text.size());
  bool all = true;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += text[i];
    } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size()) {
      out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
    } else {
      // Beyond U+00FF: one "?" for the whole character.
      while (i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) ++i;
      out += '?';
      all = false;
    }
  }
  if (exact) *exact = all;
  return out;
}

namespace {

std::string backupPathFor(const std::string& path) { return path + ".old"; }
std::string journalPathFor(const std::string& path) { return path + ".txn"; }

std::string leafOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool sameName(const std::string& a, const std::string& b) {
  auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return fold(x) == fold(y); });
}

// Clean-up that must not hide the failure being handled.
void tryDelete(FileSystem& fs, const std::string& path) noexcept {
  try {
    if (fs.fileExists(path)) fs.deleteFile(path);
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

// The journal names each file by its name alone: the folder is wherever the
// journal lies. The empty last line says the journal was written whole.
std::string journalText(const std::vector<JournalEntry>& entries) {
  std::string text;
  for (const auto& e : entries) text += (e.existed ? "1\t" : "0\t") + leafOf(e.path) + "\r\n";
  return text + "\r\n";
}

// The file of the group a journal line names ("1<TAB>name.qdx"), or none.
const std::string* ownFile(const std::string& line, const std::vector<std::string>& paths) {
  if (line.size() < 3 || (line[0] != '0' && line[0] != '1') || line[1] != '\t') return nullptr;
  for (const auto& p : paths)
    if (sameName(leafOf(p), line.substr(2))) return &p;
  return nullptr;
}

// Whether a line cut short could have become a line of the group's own.
bool tornOwnLine(const std::string& line, const std::vector<std::string>& paths) {
  for (const auto& p : paths)
    for (const char* flag : {"0\t", "1\t"}) {
      const std::string whole = flag + leafOf(p);
      if (line.size() <= whole.size() && sameName(whole.substr(0, line.size()), line)) return true;
    }
  return false;
}

// The entries of a journal for the group paths. A journal cut short was
// being written when the program stopped, before any file moved: it holds
// nothing to undo. A line that names anything but a file of the group is
// never acted on, and is handed back in ignored.
std::vector<JournalEntry> parseJournal(const std::string& text,
                                       const std::vector<std::string>& paths,
                                       std::vector<std::string>& ignored) {
  std::vector<JournalEntry> entries;
  bool complete = false;
  size_t start = 0;
  while (start < text.size() && !complete) {
    const size_t end = text.find("\r\n", start);
    const bool cut = end == std::string::npos;
    const std::string line = text.substr(start, cut ? std::string::npos : end - start);
    start = cut ? text.size() : end + 2;
    complete = !cut && line.empty() && start == text.size();
    if (complete || (cut && tornOwnLine(line, paths))) continue;
    const std::string* own = cut ? nullptr : ownFile(line, paths);
    if (own && std::none_of(entries.begin(), entries.end(),
                            [&](const JournalEntry& e) { return e.path == *own; }))
      entries.push_back({line[0] == '1', *own});
    else
      ignored.push_back(line);
  }
  if (!complete) entries.clear();
  return entries;
}

// Puts the old files of a group back: a backup returns over its file, a
// file that did not exist before goes again. Every step is checked: a group
// half put back must keep its journal.
void restore(FileSystem& fs, const std::vector<JournalEntry>& entries) {
  for (const JournalEntry& e : entries) {
    if (e.existed) {
      if (fs.fileExists(backupPathFor(e.path))) fs.replaceFile(backupPathFor(e.path), e.path);
    } else {
      mustDelete(fs, e.path);
    }
  }
}

}  // namespace

std::vector<std::string> companionPathsFor(const std::string& path) {
  return {scratchPathFor(path), backupPathFor(path), journalPathFor(path)};
}

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
  bool journalWritten = false;
  try {
    for (const auto& f : files) fs.writeFile(scratchPathFor(f.path), f.bytes);
    // A backup left by an earlier write must not be taken for one of this
    // write: with the journal on disk, every backup belongs to it.
    for (const auto& e : entries)
      if (e.existed) mustDelete(fs, backupPathFor(e.path));
    journalWritten = true;  // from the first byte on, it may decide a recovery
    fs.writeFile(journal, journalText(entries));
    for (size_t i = 0; i < files.size(); ++i) {
      if (entries[i].existed) fs.replaceFile(files[i].path, backupPathFor(files[i].path));
      fs.replaceFile(scratchPathFor(files[i].path), files[i].path);
    }
    mustDelete(fs, journal);  // the commit
  } catch (const IoError& failure) {
    // Everything goes back as it was; what cannot (the disk is gone) stays
    // with the journal, for the recovery before the next use of the files.
    if (journalWritten) {
      try {
        restore(fs, entries);
        mustDelete(fs, journal);
      } catch (const IoError& rollback) {
        throw IoError(failure.op(), failure.path(),
                      failure.reason() + " Putting the old files back failed as well (" +
                          rollback.what() +
                          "); they will be put back before the files are used again.");
      }
    }
    for (const auto& f : files) tryDelete(fs, scratchPathFor(f.path));
    throw;
  }
  for (const auto& e : entries)
    if (e.existed) tryDelete(fs, backupPathFor(e.path));
}

Recovery recoverFilesAtomic(FileSystem& fs, const std::vector<std::string>& paths) {
  Recovery found;
  for (const auto& p : paths) {
    const std::string journal = journalPathFor(p);
    if (!fs.fileExists(journal)) continue;
    std::vector<std::string> ignored;
    restore(fs, parseJournal(fs.readFile(journal), paths, ignored));
    for (const auto& q : paths) tryDelete(fs, scratchPathFor(q));
    mustDelete(fs, journal);
    if (!ignored.empty()) found = {journal, std::move(ignored)};
  }
  // No journal: whatever stands is a finished write; its leftovers go.
  for (const auto& p : paths) {
    tryDelete(fs, scratchPathFor(p));
    tryDelete(fs, backupPathFor(p));
  }
  return found;
}

}  // namespace trovik

#include "linkstore/linkstore.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "core/paths.h"
#include "core/product.h"
#include "core/textlines.h"
#include "platform/storedtext.h"

namespace trovik {

namespace {

// A fingerprint of a list file's bytes, to tell without reading the file
// again whether it already holds what is to be saved. Four independent lanes
// of multiply and shift over 8-byte words: several times faster than
// std::hash on lists of megabytes. Each step is a bijection of its lane, so
// a difference in any word is never lost before the lanes are combined.
std::size_t hashOf(std::string_view bytes) {
  constexpr std::uint64_t kOdd = 0x9E3779B97F4A7C15ull;
  auto step = [](std::uint64_t h, std::uint64_t w) {
    h = (h ^ w) * kOdd;
    return h ^ (h >> 29);
  };
  std::uint64_t lane[4] = {bytes.size(), 1, 2, 3};
  const char* p = bytes.data();
  size_t n = bytes.size();
  for (; n >= 32; p += 32, n -= 32)
    for (int k = 0; k < 4; ++k) {
      std::uint64_t w;
      std::memcpy(&w, p + 8 * k, 8);
      lane[k] = step(lane[k], w);
    }
  for (int k = 0; n > 0; k = (k + 1) % 4) {
    std::uint64_t w = 0;
    const size_t take = n < 8 ? n : 8;
    std::memcpy(&w, p, take);
    lane[k] = step(lane[k], w);
    p += take;
    n -= take;
  }
  std::uint64_t h = lane[0];
  for (int k = 1; k < 4; ++k) h = step(h * kOdd, lane[k]);
  return static_cast<std::size_t>(h ^ (h >> 32));
}

std::string at(const std::string& dir, std::string_view file) {
  return withBackslash(dir) + std::string(file);
}

// Why a fileset is refused, after the failure itself.
constexpr const char* kUnfinished =
    " The fileset in this folder was being saved when that stopped, and its files could not be "
    "put back in order. Trovik leaves it untouched, neither reading nor writing it, until they "
    "can be.";
constexpr const char* kForeignJournal1 = "The record of an unfinished save, ";
constexpr const char* kForeignJournal2 =
    ", names files that are not its fileset's own. They were left alone:";

}  // namespace

void LinkStore::recover(const std::string& dir) {
  Recovery found;
  try {
    found = recoverFilesAtomic(ctx_.fs(), {at(dir, kNameFile), at(dir, kLinkFile)});
  } catch (const IoError& e) {
    throw IoError(e.op(), e.path(), e.reason() + kUnfinished);
  }
  if (found.ignored.empty()) return;
  std::string text = kForeignJournal1 + found.journal + kForeignJournal2;
  for (const std::string& line : found.ignored) text += "\r\n" + line;
  ctx_.message(text, ctx_.texts.warningt, Buttons::Ok, Icon::Warning);
}

bool LinkStore::hasLinks(const std::string& dir) {
  recover(dir);
  return ctx_.fs().fileExists(at(dir, kLinkFile));
}

bool LinkStore::hasNames(const std::string& dir) {
  recover(dir);
  return ctx_.fs().fileExists(at(dir, kNameFile));
}

std::vector<std::string> LinkStore::filesets(const std::string& root,
                                             const std::function<void()>& each) {
  FileSystem& fs = ctx_.fs();
  std::vector<std::string> found;
  // Both list files make a fileset; a save cut short may have set one aside,
  // or left copies beside them: each directory is put in order on the way.
  auto isFileset = [&](const std::string& dir) {
    try {
      recover(dir);
    } catch (const IoError&) {
      return true;  // listed: choosing it tells the user why it cannot be used
    }
    return fs.fileExists(at(dir, kLinkFile)) && fs.fileExists(at(dir, kNameFile));
  };
  if (fs.fileExists(root + std::string(kOptionsFile)) && isFileset(root)) found.push_back(root);
  for (const DirEntry& e : fs.listDirectory(root)) {
    if (e.isDirectory && e.name != "." && e.name != "..") {
      const std::string dir = root + e.name + "\\";
      if (isFileset(dir)) found.push_back(dir);
    }
    if (each) each();
  }
  return found;
}

bool LinkStore::read(const std::string& dir, FilesetLists& lists) {
  recover(dir);
  FileSystem& fs = ctx_.fs();
  const std::string linkPath = at(dir, kLinkFile);
  const std::string namePath = at(dir, kNameFile);
  if (!fs.fileExists(linkPath)) return false;
  readList(linkPath, lists.links);
  lists.hasNames = fs.fileExists(namePath);
  if (lists.hasNames) {
    readList(namePath, lists.names);
  } else {
    lists.names.clear();
  }
  return true;
}

void LinkStore::readList(const std::string& path, std::vector<std::string>& lines) {
  const FileSystem& fs = ctx_.fs();
  std::string bytes = fs.readFile(path);
  const std::size_t size = bytes.size(), hash = hashOf(bytes);
  splitLinesInto(storedText(fs, std::move(bytes), path), lines);
  remember(path, size, hash, lines.size());
}

void LinkStore::write(const std::string& dir, const std::vector<std::string>& names,
                      const std::vector<std::string>& links) {
  recover(dir);
  const std::string namePath = at(dir, kNameFile);
  const std::string linkPath = at(dir, kLinkFile);
  const std::string nameBytes = storedBytes(ctx_.fs(), joinLines(names));
  const std::string linkBytes = storedBytes(ctx_.fs(), joinLines(links));
  // Files that already hold exactly this content are left alone, so an
  // unchanged fileset in a read-only directory saves without complaint.
  const std::size_t nameHash = hashOf(nameBytes), linkHash = hashOf(linkBytes);
  std::vector<FileContent> changed;
  if (!holds(namePath, nameBytes, nameHash)) changed.push_back({namePath, nameBytes});
  if (!holds(linkPath, linkBytes, linkHash)) changed.push_back({linkPath, linkBytes});
  if (!changed.empty()) writeFilesAtomic(ctx_.fs(), changed);
  remember(namePath, nameBytes.size(), nameHash, names.size());
  remember(linkPath, linkBytes.size(), linkHash, links.size());
}

std::optional<std::size_t> LinkStore::savedNames(const std::string& dir) {
  recover(dir);
  const std::string path = at(dir, kNameFile);
  const std::optional<FileStamp> now = ctx_.fs().stamp(path);
  if (!now) return std::nullopt;
  if (const Known* k = known(path); k && k->stamp == now) return k->lines;
  return countLines(readStoredText(ctx_.fs(), path));
}

void LinkStore::create(const std::string& dir) {
  FileSystem& fs = ctx_.fs();
  fs.createDirectory(dir);
  try {
    write(dir, {}, {});
  } catch (const IoError&) {
    // A directory without its list files is no fileset: take it away again.
    for (std::string_view file : {kNameFile, kLinkFile})
      for (const std::string& path : companionPathsFor(at(dir, file))) fs.deleteFile(path);
    fs.removeDirectory(dir);
    throw;
  }
}

void LinkStore::copy(const std::string& from, const std::string& to) {
  recover(from);
  FileSystem& fs = ctx_.fs();
  const std::string links = fs.readFile(at(from, kLinkFile));
  const std::string names = fs.readFile(at(from, kNameFile));
  recover(to);
  writeFilesAtomic(fs, {{at(to, kNameFile), names}, {at(to, kLinkFile), links}});
}

void LinkStore::rename(const std::string& from, const std::string& to) {
  recover(from);
  ctx_.fs().renameDirectory(from, to);
}

bool LinkStore::remove(const std::string& dir) {
  recover(dir);
  FileSystem& fs = ctx_.fs();
  std::vector<std::string> files{at(dir, kOptionsFile)};
  for (std::string_view file : {kNameFile, kLinkFile})
    for (const std::string& path : companionPathsFor(at(dir, file))) files.push_back(path);
  files.push_back(at(dir, kNameFile));
  files.push_back(at(dir, kLinkFile));
  for (const std::string& path : files)
    if (fs.fileExists(path) && !fs.deleteFile(path))
      throw IoError(IoError::Op::Delete, path, "The file could not be deleted.");
  return fs.removeDirectory(dir);
}

LinkStore::Known* LinkStore::known(const std::string& path) {
  auto it = known_.find(lower(path));
  return it == known_.end() ? nullptr : &it->second;
}

void LinkStore::remember(const std::string& path, std::size_t size, std::size_t hash,
                         std::size_t lines) {
  known_[lower(path)] = {ctx_.fs().stamp(path), size, hash, lines};
}

bool LinkStore::holds(const std::string& path, const std::string& bytes, std::size_t hash) {
  FileSystem& fs = ctx_.fs();
  const std::optional<FileStamp> now = fs.stamp(path);
  if (!now) return false;
  if (const Known* k = known(path); k && k->stamp == now)
    return k->size == bytes.size() && k->hash == hash;
  return fs.readFile(path) == bytes;
}

}  // namespace trovik

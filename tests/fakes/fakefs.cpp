#include "fakefs.h"

#include <algorithm>

namespace trovik::test {

FakeFileSystem::FakeFileSystem() { dirs_["c:"] = "C:"; }

std::string FakeFileSystem::lowered(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string FakeFileSystem::trimmed(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

std::string FakeFileSystem::key(const std::string& path) { return lowered(trimmed(path)); }

std::string FakeFileSystem::parentKey(const std::string& k) {
  const size_t slash = k.rfind('\\');
  return slash == std::string::npos ? std::string() : k.substr(0, slash);
}

bool FakeFileSystem::fileExists(const std::string& path) const {
  return files_.count(key(path)) > 0;
}

bool FakeFileSystem::directoryExists(const std::string& path) const {
  return dirs_.count(key(path)) > 0;
}

std::optional<FileStamp> FakeFileSystem::stamp(const std::string& path) const {
  auto it = files_.find(key(path));
  if (it == files_.end()) return std::nullopt;
  return FileStamp{it->second.bytes.size(), it->second.time};
}

std::string FakeFileSystem::readFile(const std::string& path) const {
  auto it = files_.find(key(path));
  if (it == files_.end())
    throw IoError(IoError::Op::Read, path, "The system cannot find the file specified.");
  return it->second.bytes;
}

void FakeFileSystem::checkWritable(const std::string& path, IoError::Op op) const {
  const std::string k = key(path);
  if (!dirs_.count(parentKey(k)))
    throw IoError(op, path, "The system cannot find the path specified.");
  if (readOnly_.count(parentKey(k))) throw IoError(op, path, "Access is denied.");
  if (dirs_.count(k)) throw IoError(op, path, "Access is denied.");
  for (const auto& f : failing_)
    if (k.find(f) != std::string::npos)
      throw IoError(op, path, "There is not enough space on the disk.");
}

bool FakeFileSystem::change() {
  ++changes_;
  return failAt_ == 0 || (fault_ == Fault::Fail ? changes_ != failAt_ : changes_ < failAt_);
}

void FakeFileSystem::writeFile(const std::string& path, const std::string& bytes) {
  if (!change()) {
    faultHitAWrite_ = faultHitAWrite_ || changes_ == failAt_;
    if (fault_ == Fault::Tear && changes_ == failAt_ && dirs_.count(parentKey(key(path)))) {
      store(path, bytes.substr(0, bytes.size() / 2));
    }
    throw IoError(IoError::Op::Write, path, "The device is not ready.");
  }
  checkWritable(path, IoError::Op::Write);
  store(path, bytes);
  ++writeCounts_[key(path)];
}

void FakeFileSystem::replaceFile(const std::string& from, const std::string& to) {
  if (!change()) throw IoError(IoError::Op::Rename, to, "The device is not ready.");
  auto it = files_.find(key(from));
  if (it == files_.end())
    throw IoError(IoError::Op::Rename, from, "The system cannot find the file specified.");
  if (readOnly_.count(parentKey(key(to))))
    throw IoError(IoError::Op::Rename, to, "Access is denied.");
  File moved = it->second;
  files_.erase(it);
  auto old = files_.find(key(to));
  moved.name = old != files_.end() ? old->second.name : to;
  files_[key(to)] = moved;
  ++writeCounts_[key(to)];
}

bool FakeFileSystem::deleteFile(const std::string& path) {
  if (!change()) return false;
  if (readOnly_.count(parentKey(key(path)))) return false;
  return files_.erase(key(path)) > 0;
}

std::vector<DirEntry> FakeFileSystem::listDirectory(const std::string& dir) const {
  std::vector<DirEntry> out;
  const std::string k = key(dir);
  if (!dirs_.count(k)) return out;
  out.push_back({".", true});
  out.push_back({"..", true});
  std::vector<DirEntry> found;
  auto leaf = [](const std::string& full) { return full.substr(full.rfind('\\') + 1); };
  for (const auto& [dk, name] : dirs_)
    if (parentKey(dk) == k && dk != k) found.push_back({leaf(name), true});
  for (const auto& [fk, f] : files_)
    if (parentKey(fk) == k) found.push_back({leaf(f.name), false});
  std::sort(found.begin(), found.end(),
            [](const DirEntry& a, const DirEntry& b) { return lowered(a.name) < lowered(b.name); });
  out.insert(out.end(), found.begin(), found.end());
  return out;
}

std::vector<std::string> FakeFileSystem::drives() const {
  std::vector<std::string> roots;
  for (const auto& [k, name] : dirs_)
    if (k.find('\\') == std::string::npos) roots.push_back(name + "\\");
  return roots;
}

void FakeFileSystem::createDirectory(const std::string& path) {
  const std::string k = key(path);
  if (!change()) throw IoError(IoError::Op::Create, path, "The device is not ready.");
  if (dirs_.count(k))
    throw IoError(IoError::Op::Create, path, "Cannot create a file when that file already exists.");
  checkWritable(path, IoError::Op::Create);
  dirs_[k] = trimmed(path);
}

bool FakeFileSystem::removeDirectory(const std::string& path) {
  const std::string k = key(path);
  if (!change()) return false;
  for (const auto& [fk, f] : files_)
    if (parentKey(fk) == k) return false;
  for (const auto& [dk, d] : dirs_)
    if (parentKey(dk) == k) return false;
  return dirs_.erase(k) > 0;
}

void FakeFileSystem::renameDirectory(const std::string& from, const std::string& to) {
  const std::string f = key(from), t = key(to);
  if (!change()) throw IoError(IoError::Op::Rename, to, "The device is not ready.");
  if (!dirs_.count(f))
    throw IoError(IoError::Op::Rename, from, "The system cannot find the file specified.");
  if (dirs_.count(t) || files_.count(t))
    throw IoError(IoError::Op::Rename, to, "Cannot create a file when that file already exists.");
  checkWritable(to, IoError::Op::Rename);
  const std::string name = trimmed(to);
  // Everything below the directory moves with it.
  auto moved = [&](const std::string& k) { return k == f || k.rfind(f + "\\", 0) == 0; };
  std::map<std::string, std::string> dirs;
  for (auto& [k, d] : dirs_)
    dirs[moved(k) ? t + k.substr(f.size()) : k] = moved(k) ? name + d.substr(f.size()) : d;
  std::map<std::string, File> files;
  for (auto& [k, file] : files_) {
    File copy = file;
    if (moved(k)) copy.name = name + file.name.substr(f.size());
    files[moved(k) ? t + k.substr(f.size()) : k] = copy;
  }
  dirs_ = std::move(dirs);
  files_ = std::move(files);
}

void FakeFileSystem::mkdirs(const std::string& path) {
  const std::string name = trimmed(path);
  size_t pos = 0;
  while (true) {
    pos = name.find('\\', pos + 1);
    const std::string part = name.substr(0, pos);
    if (!dirs_.count(key(part))) dirs_[key(part)] = part;
    if (pos == std::string::npos) break;
  }
}

void FakeFileSystem::put(const std::string& path, const std::string& bytes) {
  mkdirs(path.substr(0, path.rfind('\\')));
  store(path, bytes);
}

void FakeFileSystem::store(const std::string& path, const std::string& bytes) {
  File& f = files_[key(path)];
  if (f.name.empty()) f.name = path;
  f.bytes = bytes;
  f.time = ++clock_;
}

std::string FakeFileSystem::get(const std::string& path) const {
  auto it = files_.find(key(path));
  return it == files_.end() ? "<missing>" : it->second.bytes;
}

int FakeFileSystem::writeCount(const std::string& path) const {
  auto it = writeCounts_.find(key(path));
  return it == writeCounts_.end() ? 0 : it->second;
}

std::vector<std::string> FakeFileSystem::allFiles() const {
  std::vector<std::string> out;
  for (const auto& [k, f] : files_) out.push_back(f.name);
  return out;
}

std::map<std::string, std::string> FakeFileSystem::snapshot() const {
  std::map<std::string, std::string> out;
  for (const auto& [k, d] : dirs_) out[k + "\\"] = "<directory " + d + ">";
  for (const auto& [k, f] : files_) out[k] = f.name + "\n" + f.bytes;
  return out;
}

void FakeFileSystem::restore(const std::map<std::string, std::string>& snapshot) {
  files_.clear();
  dirs_.clear();
  for (const auto& [k, v] : snapshot) {
    if (k.back() == '\\') {
      dirs_[k.substr(0, k.size() - 1)] = v.substr(11, v.size() - 12);
    } else {
      const size_t end = v.find('\n');
      File& f = files_[k];
      f.name = v.substr(0, end);
      f.bytes = v.substr(end + 1);
      f.time = ++clock_;
    }
  }
}

}  // namespace trovik::test

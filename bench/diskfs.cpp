#include "diskfs.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace trovik::bench {

namespace fs = std::filesystem;

namespace {
fs::path host(const std::string& path) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '\\', '/');
  return fs::path(p);
}
}  // namespace

bool DiskFileSystem::fileExists(const std::string& path) const {
  return fs::is_regular_file(host(path));
}

std::optional<FileStamp> DiskFileSystem::stamp(const std::string& path) const {
  std::error_code e;
  const auto size = fs::file_size(host(path), e);
  if (e) return std::nullopt;
  const auto time = fs::last_write_time(host(path), e);
  if (e) return std::nullopt;
  return FileStamp{size, static_cast<std::uint64_t>(time.time_since_epoch().count())};
}

bool DiskFileSystem::directoryExists(const std::string& path) const {
  return fs::is_directory(host(path));
}

std::string DiskFileSystem::readFile(const std::string& path) const {
  std::ifstream in(host(path), std::ios::binary);
  if (!in) throw IoError(IoError::Op::Read, path, std::strerror(errno));
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void DiskFileSystem::writeFile(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(host(path).c_str(), "wb");
  if (!f) throw IoError(IoError::Op::Write, path, std::strerror(errno));
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok) throw IoError(IoError::Op::Write, path, std::strerror(errno));
}

void DiskFileSystem::replaceFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::rename(host(from), host(to), ec);
  if (ec) throw IoError(IoError::Op::Rename, to, ec.message());
}

bool DiskFileSystem::deleteFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(host(path), ec);
}

std::vector<DirEntry> DiskFileSystem::listDirectory(const std::string& dir) const {
  std::vector<DirEntry> out{{".", true}, {"..", true}};
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(host(dir), ec))
    out.push_back({e.path().filename().string(), e.is_directory()});
  return out;
}

void DiskFileSystem::createDirectory(const std::string& path) {
  std::error_code ec;
  if (!fs::create_directory(host(path), ec)) throw IoError(IoError::Op::Create, path, ec.message());
}

bool DiskFileSystem::removeDirectory(const std::string& path) {
  std::error_code ec;
  return fs::remove(host(path), ec);
}

void DiskFileSystem::renameDirectory(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::rename(host(from), host(to), ec);
  if (ec) throw IoError(IoError::Op::Rename, to, ec.message());
}

}  // namespace trovik::bench

#include "platform/filesystem.h"

namespace trovik {

namespace {
std::string describe(IoError::Op op, const std::string& path, const std::string& reason) {
  const char* verb = "access";
  switch (op) {
    case IoError::Op::Read: verb = "read"; break;
    case IoError::Op::Write: verb = "write"; break;
    case IoError::Op::Create: verb = "create"; break;
    case IoError::Op::Delete: verb = "delete"; break;
    case IoError::Op::Rename: verb = "replace"; break;
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

void writeFilesAtomic(FileSystem& fs, const std::vector<FileContent>& files) {
  std::vector<std::string> written;
  try {
    for (const auto& f : files) {
      const std::string scratch = scratchPathFor(f.path);
      written.push_back(scratch);
      fs.writeFile(scratch, f.bytes);
    }
  } catch (...) {
    for (const auto& s : written) fs.deleteFile(s);
    throw;
  }
  // Every new content is safely on disk; a failure from here on can only
  // leave a scratch file behind, never a half-written list.
  for (size_t i = 0; i < files.size(); ++i) {
    try {
      fs.replaceFile(written[i], files[i].path);
    } catch (...) {
      for (size_t j = i; j < written.size(); ++j) fs.deleteFile(written[j]);
      throw;
    }
  }
}

void writeFileAtomic(FileSystem& fs, const std::string& path, const std::string& bytes) {
  writeFilesAtomic(fs, {{path, bytes}});
}

}  // namespace trovik

#pragma once
// The file system as the program sees it. Paths are Windows paths in the ANSI
// code page ("C:\\Trovik\\link.qdx"); names compare without regard to case.
#include <stdexcept>
#include <string>
#include <vector>

namespace trovik {

// A read or write that failed. It names the file and carries the system's
// own reason, so the handler barrier can tell the user exactly what happened.
class IoError : public std::runtime_error {
 public:
  enum class Op { Read, Write, Create, Delete, Rename };
  IoError(Op op, std::string path, std::string reason);
  Op op() const { return op_; }
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  Op op_;
  std::string path_;
  std::string reason_;
};

struct DirEntry {
  std::string name;  // as the file system spells it
  bool isDirectory = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // GetFileAttributesA: true for an existing file (not a directory).
  virtual bool fileExists(const std::string& path) const = 0;
  // GetFileAttributesA with FILE_ATTRIBUTE_DIRECTORY. A trailing backslash is allowed.
  virtual bool directoryExists(const std::string& path) const = 0;

  // CreateFileA + ReadFile: the whole file. Throws IoError.
  virtual std::string readFile(const std::string& path) const = 0;
  // CreateFileA(CREATE_ALWAYS) + WriteFile + FlushFileBuffers: writes a file in
  // place. Callers that replace user data use writeFileAtomic instead. Throws IoError.
  virtual void writeFile(const std::string& path, const std::string& bytes) = 0;
  // MoveFileExA(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). Throws IoError.
  virtual void replaceFile(const std::string& from, const std::string& to) = 0;
  // DeleteFileA. Returns false when the file could not be deleted.
  virtual bool deleteFile(const std::string& path) = 0;

  // FindFirstFileA/FindNextFileA on dir + "*.*": every entry including "." and
  // "..", in the order the file system returns them. dir ends in a backslash.
  virtual std::vector<DirEntry> listDirectory(const std::string& dir) const = 0;
  // CreateDirectoryA. Throws IoError.
  virtual void createDirectory(const std::string& path) = 0;
  // RemoveDirectoryA. Returns false when the directory could not be removed.
  virtual bool removeDirectory(const std::string& path) = 0;
};

// Replaces each file with its new content so that either every file is
// replaced or, when anything fails, none is: all new contents are written
// beside their files first, and only then moved over the old ones.
struct FileContent {
  std::string path;
  std::string bytes;
};
void writeFilesAtomic(FileSystem& fs, const std::vector<FileContent>& files);
void writeFileAtomic(FileSystem& fs, const std::string& path, const std::string& bytes);

// The name of the scratch file written beside path before it replaces it.
std::string scratchPathFor(const std::string& path);

}  // namespace trovik

#pragma once
// The file system as the program sees it. Paths are Windows paths, in UTF-8
// like all text inside ("C:\\Trovik\\link.qdx"); names compare without
// regard to case.
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
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

// What tells one state of a file from another without reading it.
struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t writeTime = 0;
  bool operator==(const FileStamp&) const = default;
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

  // GetFileAttributesExA: the size and last write time of a file; nothing
  // when there is no such file.
  virtual std::optional<FileStamp> stamp(const std::string& path) const = 0;
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
  // FindFirstFileA/FindNextFileA on dir + namePrefix + "*", one entry at a
  // time: visit sees at least every entry whose name starts with namePrefix
  // (any case; the system may add others, such as names whose short form
  // matches, and "." and ".."), so a large directory is not read whole for a
  // few names, and the caller may stop by returning false.
  using Visit = std::function<bool(const DirEntry&)>;
  virtual void visitDirectory(const std::string& dir, const std::string& namePrefix,
                              const Visit& visit) const;
  // GetLogicalDriveStringsA: the root of every drive ("C:\\"), in drive order.
  virtual std::vector<std::string> drives() const { return {}; }
  // CreateDirectoryA. Throws IoError.
  virtual void createDirectory(const std::string& path) = 0;
  // RemoveDirectoryA. Returns false when the directory could not be removed.
  virtual bool removeDirectory(const std::string& path) = 0;
  // MoveFileA on a directory: gives it another name in the same parent. Fails
  // when anything of that name exists. Throws IoError.
  virtual void renameDirectory(const std::string& from, const std::string& to) = 0;

  // The system's ANSI code page, the form of stored files without a
  // byte-order mark. MultiByteToWideChar(CP_ACP) and on to UTF-8: every byte
  // string has a reading.
  virtual std::string ansiToUtf8(std::string_view bytes) const;
  // WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS): a character the code
  // page lacks becomes "?", and exact (when given) says whether none did.
  // The defaults are Latin-1, the code page the tests and benchmarks stand on.
  virtual std::string utf8ToAnsi(std::string_view text, bool* exact = nullptr) const;
};

// Replaces each file with its new content so that either every file is
// replaced or, whatever step fails, none is. The files lie in one directory.
//   1. every new content is written beside its file (path + ".new");
//   2. a journal (first path + ".txn") names the files of the group by their
//      names alone, and ends with an empty line that says it is complete;
//   3. each old file becomes its backup (path + ".old") and the new one takes
//      its place;
//   4. deleting the journal commits the group; the backups go after it.
// A failure in steps 1 to 4 puts every old file back and throws. When putting
// them back fails too, the journal stays and the error says so; a crash also
// leaves the journal behind. recoverFilesAtomic then puts the old files back,
// so the group is old and old, or new and new, never mixed.
struct FileContent {
  std::string path;
  std::string bytes;
};
void writeFilesAtomic(FileSystem& fs, const std::vector<FileContent>& files);
// One file: written beside it, then moved over it in one step.
void writeFileAtomic(FileSystem& fs, const std::string& path, const std::string& bytes);

// What a recovery found in a journal and did not act on: lines naming
// anything but the group's own files (another folder, another file), as a
// journal planted or damaged by someone else would.
struct Recovery {
  std::string journal;               // the journal that held them
  std::vector<std::string> ignored;  // its lines, as written
};

// Finishes what a crash interrupted in a group of files written together,
// all in one directory (any of paths may carry the journal): with a journal
// left behind, the old files are put back; without one, leftovers of a
// finished write are removed. A journal acts only on the files of paths, by
// their names within that directory, so a moved or copied folder recovers
// itself and nothing else. Throws IoError, leaving the journal in place,
// when the old files cannot be put back or the journal cannot be removed.
Recovery recoverFilesAtomic(FileSystem& fs, const std::vector<std::string>& paths);

// The name of the scratch file written beside path before it replaces it.
std::string scratchPathFor(const std::string& path);
// Every file the writes above may leave beside path: scratch, backup, journal.
std::vector<std::string> companionPathsFor(const std::string& path);

}  // namespace trovik

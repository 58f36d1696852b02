#pragma once
// An in-memory file system with the semantics the program meets on Windows:
// drive-letter paths, names that compare without regard to case but keep
// their spelling, enumeration in name order, and failures on demand.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/filesystem.h"

namespace trovik::test {

class FakeFileSystem : public FileSystem {
 public:
  FakeFileSystem();  // holds the drive C:\ only

  bool fileExists(const std::string& path) const override;
  bool directoryExists(const std::string& path) const override;
  std::optional<FileStamp> stamp(const std::string& path) const override;
  std::string readFile(const std::string& path) const override;
  void writeFile(const std::string& path, const std::string& bytes) override;
  void replaceFile(const std::string& from, const std::string& to) override;
  bool deleteFile(const std::string& path) override;
  std::vector<DirEntry> listDirectory(const std::string& dir) const override;
  std::vector<std::string> drives() const override;  // every top directory ("C:\\")
  void createDirectory(const std::string& path) override;
  bool removeDirectory(const std::string& path) override;
  void renameDirectory(const std::string& from, const std::string& to) override;

  // Test set-up: creates the file and every directory above it.
  void put(const std::string& path, const std::string& bytes);
  void mkdirs(const std::string& path);
  // The content of a file, or "<missing>".
  std::string get(const std::string& path) const;
  // How many times the file was written or replaced.
  int writeCount(const std::string& path) const;

  // Writes to paths containing this text (any case) fail as a full disk would.
  void failWrites(const std::string& substring) { failing_.insert(lowered(substring)); }
  // Nothing can be created, written or replaced inside this directory.
  void makeReadOnly(const std::string& dir) { readOnly_.insert(key(dir)); }
  // What happens at the n-th change: it fails alone; it and every change
  // after it fail, as when the program stops there (or the disk goes away)
  // and nothing more reaches the disk; or, a write, it stops halfway, half
  // of its bytes written, and nothing after it reaches the disk.
  enum class Fault { Fail, Stop, Tear };
  // The n-th change from now on (a write, replace, delete, new directory or
  // rename, counting from 1) meets the fault.
  void failChange(int n, Fault fault) {
    changes_ = 0;
    failAt_ = n;
    fault_ = fault;
    faultHitAWrite_ = false;
  }
  // Changes made since failChange (or since the start).
  int changes() const { return changes_; }
  // Whether the change that met the fault was a write.
  bool faultHitAWrite() const { return faultHitAWrite_; }
  void clearFailures() {
    failing_.clear();
    readOnly_.clear();
    failAt_ = 0;
  }
  // Paths of every file, for checks that nothing stray was left behind.
  std::vector<std::string> allFiles() const;
  // Every directory and file with its content, keyed by lower-case path.
  std::map<std::string, std::string> snapshot() const;
  // Makes the disk hold exactly a snapshot.
  void restore(const std::map<std::string, std::string>& snapshot);

 private:
  static std::string lowered(const std::string& s);
  static std::string trimmed(std::string path);     // without trailing backslashes
  static std::string key(const std::string& path);  // lower case, trimmed
  static std::string parentKey(const std::string& k);
  void checkWritable(const std::string& path, IoError::Op op) const;
  // Sets the file's bytes, keeping the spelling of its name if it exists.
  void store(const std::string& path, const std::string& bytes);
  // Counts a change; false when it is to fail.
  bool change();

  struct File {
    std::string name;  // full path as first spelled
    std::string bytes;
    std::uint64_t time = 0;  // a new value with every write
  };
  std::uint64_t clock_ = 0;
  std::map<std::string, File> files_;
  std::map<std::string, std::string> dirs_;  // key -> full path as spelled
  std::set<std::string> failing_;
  std::set<std::string> readOnly_;
  std::map<std::string, int> writeCounts_;
  int changes_ = 0;
  int failAt_ = 0;
  Fault fault_ = Fault::Fail;
  bool faultHitAWrite_ = false;
};

}  // namespace trovik::test

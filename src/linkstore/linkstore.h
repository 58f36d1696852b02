#pragma once
// The one way into a fileset's files. Whoever reads or writes a fileset (the
// main window's lists and every switch, import and export, the Add/Edit
// dialog, a drop on a tab, the fileset manager, new and delete, start-up and
// close) comes through here, and every way in first brings a save that a
// crash or a failure cut short to a consistent end. A fileset where that
// cannot be done is refused, naming the files and why, so nothing is ever
// written over it. The store holds no window parts: it says which filesets
// exist and hands out and takes back their pairs of lists.
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/context.h"

namespace trovik {

inline constexpr std::string_view kLinkFile = "link.qdx";
inline constexpr std::string_view kNameFile = "name.qdx";

// A fileset's two lists as its files hold them. Whether they are in step,
// and what to do when not, is each caller's own business.
struct FilesetLists {
  std::vector<std::string> names, links;
  bool hasNames = true;  // false: there is no name.qdx, names is empty
  bool inStep() const { return names.size() == links.size(); }
};

class LinkStore {
 public:
  explicit LinkStore(Context& ctx) : ctx_(ctx) {}

  // The filesets under root (with its trailing backslash): root itself first
  // when it holds the options file and both list files, then each direct
  // subdirectory holding both list files, in the order the file system lists
  // them. A directory whose save was cut short is recovered on the way, and
  // listed while its recovery fails, so that using it says why it cannot be.
  // each runs after every directory entry (the window keeps serving messages).
  std::vector<std::string> filesets(const std::string& root, const std::function<void()>& each);

  // Brings an interrupted save of dir's pair to its consistent end. Throws
  // IoError, naming the file and the reason, when that cannot be done: the
  // fileset is then left exactly as it is. Every call below recovers first.
  void recover(const std::string& dir);
  bool hasLinks(const std::string& dir);
  bool hasNames(const std::string& dir);
  // Reads dir's pair into lists (reusing their strings); false, leaving lists
  // alone, when dir has no link file. Throws IoError.
  bool read(const std::string& dir, FilesetLists& lists);
  // Writes dir's pair: both files or neither. A file that already holds its
  // content is left alone. Throws IoError.
  void write(const std::string& dir, const std::vector<std::string>& names,
             const std::vector<std::string>& links);
  // How many names dir's names file holds; nothing without one.
  std::optional<std::size_t> savedNames(const std::string& dir);
  // A new fileset: the directory with an empty pair. Throws IoError, taking
  // the directory away again when its files could not be made.
  void create(const std::string& dir);
  // Copies from's saved pair over to's pair, both files or neither.
  void copy(const std::string& from, const std::string& to);
  // Gives the fileset directory from the name to. Throws IoError.
  void rename(const std::string& from, const std::string& to);
  // Deletes a fileset: its options file, anything its saves left beside the
  // pair, the names, the links and then the directory. The first file that
  // cannot go stops it with an IoError naming that file; the links go last,
  // so what stays is the fileset whole or at least its links. False when
  // only the directory stayed (it holds files of others).
  bool remove(const std::string& dir);

 private:
  // A list file as this store last read or wrote it: while the file's stamp
  // is the same, its content is known without reading it again.
  struct Known {
    std::optional<FileStamp> stamp;
    std::size_t size = 0, hash = 0, lines = 0;
  };
  // Reads one list file into lines, remembering what it held.
  void readList(const std::string& path, std::vector<std::string>& lines);
  void remember(const std::string& path, std::size_t size, std::size_t hash, std::size_t lines);
  // Whether the file holds exactly bytes (whose hash is given).
  bool holds(const std::string& path, const std::string& bytes, std::size_t hash);
  Known* known(const std::string& path);

  Context& ctx_;
  std::map<std::string, Known> known_;  // by lower-case path
};

}  // namespace trovik

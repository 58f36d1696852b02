#pragma once
// The extension hook and the extension DLLs behind it: the list of installed
// extensions (ExtensionList, read from vp2.qdx), the registrations indexed by
// event name, the table of loaded libraries (ol, sl) with its count kn, the
// call into an extension (runvpa) and the stop of every loaded extension
// (stopvp).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/context.h"
#include "extensions/abi.h"
#include "platform/libraries.h"

namespace trovik {

// One loaded extension DLL: its handle (0 when loading failed) and its path
// exactly as it was given when it was loaded.
struct LoadedLibrary {
  LibraryHandle handle = 0;
  std::string path;
  // Its "onclose" is running: whoever called it frees the DLL afterwards.
  bool closing = false;
  // It takes and gives text as UTF-8 ("dllutf8"), asked once when loaded.
  bool utf8 = false;
};

// What every extension receives in "dllinfo2" besides its own path.
struct HostEntryPoints {
  TrovikGetFunction getfunction = nullptr;
  TrovikGetVar getvar = nullptr;
  TrovikSetVar setvar = nullptr;
  TrovikGetVpVar getvpvar = nullptr;
  TrovikSetVpVar setvpvar = nullptr;
  TrovikObject application = nullptr;
};

class ExtensionHost {
 public:
  explicit ExtensionHost(Context& ctx);
  // Libraries still loaded (the window never closed) are freed without a word.
  ~ExtensionHost();
  ExtensionHost(const ExtensionHost&) = delete;
  ExtensionHost& operator=(const ExtensionHost&) = delete;

  void setEntryPoints(const HostEntryPoints& entry) { entry_ = entry; }

  // ExtensionList. Until it is created, and after it is freed, events reach
  // no extension.
  void createList();
  // Replaces the list with the lines of vp2.qdx (which must exist). Throws IoError.
  void loadList();
  void freeList();
  bool hasList() const { return hasList_; }
  const std::vector<std::string>& ExtensionList() const { return list_; }
  // BaseDirectory + "vp2.qdx".
  std::string listPath() const;

  // Calls the extensions registered for the event at the moments whose flag
  // is set, in the order of their lines and pairs. Returns whether an
  // "override" registration was found while the override flag was set, even
  // when its DLL could not be called.
  bool FireExtensionEvent(std::string_view name, bool before, bool override, bool after);
  // Loads and announces the DLL when it is not loaded yet, then calls its
  // export of that name. Nothing happens when the file does not exist.
  void runvpa(const std::string& path, const std::string& exportName);
  // The index of the loaded-library entry with this path (any case), or -1.
  std::int32_t isloaded(std::string_view path) const;
  // Tells every loaded extension why it stops ("onclose"), frees them all
  // and writes ExtensionList back to vp2.qdx. Raises "stopvp".
  void stopvp(std::int32_t reason);

  // Installation: the DLL is loaded again, appended to the table and
  // announced, then told "vpstartup".
  void announceInstalled(const std::string& path);
  // Removal: a loaded DLL is told "onclose" (reason 3), freed and leaves the
  // table; one not loaded is loaded for the moment, announced and told
  // "onremove".
  void removed(const std::string& path);
  // Whether the DLL exports "dllinfo2"; it is loaded for the look only.
  bool offersDllInfo2(const std::string& path);

  // The loaded-library table, the host's own bookkeeping.
  const std::vector<LoadedLibrary>& loaded() const { return table_; }
  // kn: the number of entries, or the index of the last one while an
  // extension is being called. Extensions may overwrite it; the host never
  // reads it back, so that cannot mislead the table.
  std::int32_t& kn() { return kn_; }
  // Replaces the path column (sl): one path per entry, or nothing changes.
  bool replacePaths(const std::vector<std::string>& paths);

  // Text as the extension being called takes and gives it: UTF-8 for one
  // whose "dllutf8" export answers true, the ANSI code page for every other
  // (a character the code page lacks reaches it as "?"), and for calls that
  // come while no extension is being called.
  std::string toCaller(std::string text) const;
  std::string fromCaller(const char* text) const;

 private:
  struct Index;
  void rebuildIndex();
  // Runs a call into an extension: kn points at the last entry meanwhile (when
  // counted), and libraries freed during the call are unloaded only once no
  // extension code is running any more.
  template <class Call>
  void callInto(bool utf8, bool countsInKn, Call&& call);
  // Loads the DLL for the table, asking how it takes text.
  LoadedLibrary load(const std::string& path);
  bool takesUtf8(LibraryHandle library);
  void release(LibraryHandle handle);
  // Tells the DLL of entry i why it stops and frees it. Meanwhile it can still
  // be called, and a stop its goodbye starts passes it over; then its entry
  // is erased, or kept with handle 0 so that nothing loads it again.
  void close(size_t i, std::int32_t reason, bool erase);
  void announce(void* dllinfo2, const std::string& path);

  bool inTable(LibraryHandle handle) const;

  Context& ctx_;
  HostEntryPoints entry_;
  bool hasList_ = false;
  std::vector<std::string> list_;
  std::shared_ptr<const Index> index_;
  std::vector<LoadedLibrary> table_;
  std::int32_t kn_ = 0;
  int depth_ = 0;            // calls into extensions now running
  bool utf8Caller_ = false;  // the extension being called takes UTF-8
  std::vector<LibraryHandle> pendingFree_;
};

}  // namespace trovik

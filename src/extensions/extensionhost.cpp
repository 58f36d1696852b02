#include "extensions/extensionhost.h"

#include <unordered_map>

#include "core/paths.h"
#include "core/textlines.h"
#include "extensions/records.h"
#include "platform/storedtext.h"

namespace trovik {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Event names are looked up in any case without making a lower-case copy
// first: an event nobody registered then costs one hash and nothing else.
struct NoCaseHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (char c : s) h = (h ^ static_cast<unsigned char>(lowerAscii(c))) * 1099511628211ull;
    return static_cast<size_t>(h);
  }
};
struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return sameText(a, b); }
};

enum class When { Before, Override, After };

bool whenWord(std::string_view field, When& when) {
  if (sameText(field, "before"))
    when = When::Before;
  else if (sameText(field, "override"))
    when = When::Override;
  else if (sameText(field, "after"))
    when = When::After;
  else
    return false;
  return true;
}

}  // namespace

// Every call the walk over ExtensionList would make for an event, in its
// order, worked out once per change of the list.
struct ExtensionHost::Index {
  struct Registration {
    std::uint32_t dll;  // into dlls
    When when;
  };
  std::vector<std::string> dlls;  // field 1 of each record line
  std::unordered_map<std::string, std::vector<Registration>, NoCaseHash, NoCaseEqual> events;
};

ExtensionHost::ExtensionHost(Context& ctx) : ctx_(ctx) {}

ExtensionHost::~ExtensionHost() {
  for (const auto& e : table_)
    if (e.handle) ctx_.platform.libraries.free(e.handle);
  for (LibraryHandle h : pendingFree_) ctx_.platform.libraries.free(h);
}

std::string ExtensionHost::listPath() const {
  return ctx_.vars.realpath + std::string(kExtensionFile);
}

void ExtensionHost::createList() {
  hasList_ = true;
  list_.clear();
  rebuildIndex();
}

void ExtensionHost::loadList() {
  std::vector<std::string> lines = extensionLines(readStoredText(ctx_.fs(), listPath()));
  hasList_ = true;
  list_ = std::move(lines);
  rebuildIndex();
}

void ExtensionHost::freeList() {
  hasList_ = false;
  list_.clear();
  rebuildIndex();
}

void ExtensionHost::rebuildIndex() {
  auto index = std::make_shared<Index>();
  for (const std::string& line : list_) {
    if (line.empty()) continue;
    const std::vector<std::string_view> fields = recordFields(line);
    // Pairs start at field 6, and only a field that a "|" ends is compared
    // with the event name: the last field can only be a when-word.
    if (fields.size() < 7) continue;
    const auto dll = static_cast<std::uint32_t>(index->dlls.size());
    index->dlls.emplace_back(fields[0]);
    const size_t last = fields.size() - 1;
    // Which field pairs with which depends on the event: a field that does not
    // match is passed over by one, a match takes the next field as its
    // when-word. So the walk is replayed for each name the line could match.
    std::vector<std::string> names;
    for (size_t i = 5; i < last; ++i) {
      std::string name = lower(fields[i]);
      bool seen = false;
      for (const auto& n : names) seen = seen || n == name;
      if (!seen) names.push_back(std::move(name));
    }
    for (const std::string& name : names) {
      auto& calls = index->events[name];
      for (size_t i = 5; i < last;) {
        if (!sameText(fields[i], name)) {
          ++i;
          continue;
        }
        When when;
        if (whenWord(fields[i + 1], when)) calls.push_back({dll, when});
        i += 2;
      }
      if (calls.empty()) index->events.erase(name);
    }
  }
  index_ = std::move(index);
}

bool ExtensionHost::FireExtensionEvent(std::string_view name, bool before, bool override,
                                       bool after) {
  if (ctx_.vars.disvp || !hasList_) return false;
  const auto found = index_->events.find(name);
  if (found == index_->events.end()) return false;
  // An extension may change the list while it is being called (installing or
  // removing one): this walk finishes on the registrations it started with.
  const std::shared_ptr<const Index> index = index_;
  const std::string exportName(name);
  bool overridden = false;
  for (const Index::Registration& r : found->second) {
    bool call = false;
    switch (r.when) {
      case When::Before:
        call = before;
        break;
      case When::Override:
        call = override;
        overridden = overridden || override;
        break;
      case When::After:
        call = after;
        break;
    }
    if (call) runvpa(index->dlls[r.dll], exportName);
  }
  return overridden;
}

std::int32_t ExtensionHost::isloaded(std::string_view path) const {
  for (size_t i = 0; i < table_.size(); ++i)
    if (sameText(table_[i].path, path)) return static_cast<std::int32_t>(i);
  return -1;
}

bool ExtensionHost::inTable(LibraryHandle handle) const {
  for (const auto& e : table_)
    if (e.handle == handle) return true;
  return false;
}

template <class Call>
void ExtensionHost::callInto(bool utf8, bool countsInKn, Call&& call) {
  struct Leave {
    ExtensionHost& host;
    bool counts;
    bool utf8;  // the caller's, back when this call returns
    ~Leave() {
      --host.depth_;
      host.utf8Caller_ = utf8;
      if (counts) host.kn_ = static_cast<std::int32_t>(host.table_.size());
      if (host.depth_ == 0) {
        std::vector<LibraryHandle> pending;
        pending.swap(host.pendingFree_);
        for (LibraryHandle h : pending) host.ctx_.platform.libraries.free(h);
      }
    }
  };
  ++depth_;
  if (countsInKn) kn_ = static_cast<std::int32_t>(table_.size()) - 1;
  Leave leave{*this, countsInKn, utf8Caller_};
  utf8Caller_ = utf8;
  call();
}

void ExtensionHost::release(LibraryHandle handle) {
  // Unloading a DLL whose code is still on the stack would crash the moment
  // that call returns: the unload waits until no extension is running.
  if (depth_ > 0)
    pendingFree_.push_back(handle);
  else
    ctx_.platform.libraries.free(handle);
}

void ExtensionHost::announce(void* dllinfo2, const std::string& path) {
  const std::string ownPath = path;  // stays put whatever the table does meanwhile
  reinterpret_cast<TrovikDllInfo2>(dllinfo2)(entry_.getfunction, entry_.getvar, entry_.setvar,
                                             entry_.getvpvar, entry_.setvpvar, entry_.application,
                                             toCaller(ownPath).c_str());
}

void ExtensionHost::runvpa(const std::string& path, const std::string& exportName) {
  if (!ctx_.fs().fileExists(path)) return;
  std::int32_t index = isloaded(path);
  const bool isNew = index < 0;
  if (isNew) {
    table_.push_back(load(path));
    index = static_cast<std::int32_t>(table_.size()) - 1;
    kn_ = static_cast<std::int32_t>(table_.size());
  }
  const LibraryHandle handle = table_[static_cast<size_t>(index)].handle;
  const bool utf8 = table_[static_cast<size_t>(index)].utf8;
  if (!handle) return;  // failed to load: never retried until the table is emptied
  void* dllinfo2 = ctx_.platform.libraries.symbol(handle, "dllinfo2");
  if (!dllinfo2) return;
  if (isNew) {
    // Loading is the host's business, not part of the event: whatever the
    // DLL calls back while it is announced must not change the parameters
    // the event is about to hand it.
    const EventSlots eventSlots = ctx_.events.slots;
    callInto(utf8, true, [&] { announce(dllinfo2, path); });
    ctx_.events.slots = eventSlots;
    // Stopped while it announced itself: its events wait for the next load.
    if (!inTable(handle)) return;
  }
  if (void* fn = ctx_.platform.libraries.symbol(handle, exportName))
    callInto(utf8, true, [&] { reinterpret_cast<TrovikEventExport>(fn)(); });
}

void ExtensionHost::close(size_t i, std::int32_t reason, bool erase) {
  const LibraryHandle handle = table_[i].handle;
  table_[i].closing = true;
  if (void* onclose = ctx_.platform.libraries.symbol(handle, "onclose"))
    callInto(table_[i].utf8, false, [&] { reinterpret_cast<TrovikOnClose>(onclose)(reason); });
  // Found again: the goodbye may have changed the table, or emptied it by
  // stopping the extensions itself.
  for (size_t k = 0; k < table_.size(); ++k) {
    if (!table_[k].closing || table_[k].handle != handle) continue;
    if (erase) {
      table_.erase(table_.begin() + static_cast<long>(k));
    } else {
      table_[k].handle = 0;
      table_[k].closing = false;
    }
    break;
  }
  release(handle);
}

void ExtensionHost::stopvp(std::int32_t reason) {
  ctx_.events.run(
      "stopvp",
      [&] {
        // From the start each time: a goodbye may raise events that load
        // another DLL, which is stopped as well, or stop the extensions
        // itself (loadoptions finding DisableVP=1), which empties the table
        // under this loop and passes over the DLLs being told here.
        for (;;) {
          size_t i = 0;
          while (i < table_.size() && (!table_[i].handle || table_[i].closing)) ++i;
          if (i == table_.size()) break;
          close(i, reason, false);
        }
        table_.clear();
        kn_ = 0;
        if (hasList_)
          writeFileAtomic(ctx_.fs(), listPath(), storedBytes(ctx_.fs(), joinLines(list_)));
      },
      in(reason, &EventSlots::cint));
}

void ExtensionHost::announceInstalled(const std::string& path) {
  table_.push_back(load(path));
  kn_ = static_cast<std::int32_t>(table_.size());
  const LibraryHandle handle = table_.back().handle;
  const bool utf8 = table_.back().utf8;
  if (!handle) return;
  void* dllinfo2 = ctx_.platform.libraries.symbol(handle, "dllinfo2");
  if (!dllinfo2) return;
  callInto(utf8, true, [&] { announce(dllinfo2, path); });
  if (!inTable(handle)) return;
  if (void* startup = ctx_.platform.libraries.symbol(handle, "vpstartup"))
    callInto(utf8, true, [&] { reinterpret_cast<TrovikEventExport>(startup)(); });
}

void ExtensionHost::removed(const std::string& path) {
  Libraries& libs = ctx_.platform.libraries;
  const std::int32_t index = isloaded(path);
  if (index >= 0) {
    if (table_[static_cast<size_t>(index)].handle)
      close(static_cast<size_t>(index), 3, true);
    else
      table_.erase(table_.begin() + index);
    kn_ = static_cast<std::int32_t>(table_.size());
    return;
  }
  const LibraryHandle handle = libs.load(path);
  if (!handle) return;
  if (void* dllinfo2 = libs.symbol(handle, "dllinfo2")) {
    const bool utf8 = takesUtf8(handle);
    callInto(utf8, false, [&] { announce(dllinfo2, path); });
    if (void* onremove = libs.symbol(handle, "onremove"))
      callInto(utf8, false, [&] { reinterpret_cast<TrovikEventExport>(onremove)(); });
  }
  release(handle);
}

bool ExtensionHost::offersDllInfo2(const std::string& path) {
  Libraries& libs = ctx_.platform.libraries;
  const LibraryHandle handle = libs.load(path);
  if (!handle) return false;
  const bool offers = libs.symbol(handle, "dllinfo2") != nullptr;
  release(handle);
  return offers;
}

LoadedLibrary ExtensionHost::load(const std::string& path) {
  LoadedLibrary loaded{ctx_.platform.libraries.load(path), path};
  loaded.utf8 = takesUtf8(loaded.handle);
  return loaded;
}

bool ExtensionHost::takesUtf8(LibraryHandle library) {
  void* fn = library ? ctx_.platform.libraries.symbol(library, "dllutf8") : nullptr;
  return fn && reinterpret_cast<TrovikDllUtf8>(fn)() != 0;
}

std::string ExtensionHost::toCaller(std::string text) const {
  return utf8Caller_ ? text : ctx_.fs().utf8ToAnsi(text);
}

std::string ExtensionHost::fromCaller(const char* text) const {
  if (!text) return {};
  return utf8Caller_ ? std::string(text) : ctx_.fs().ansiToUtf8(text);
}

bool ExtensionHost::replacePaths(const std::vector<std::string>& paths) {
  if (paths.size() != table_.size()) return false;
  for (size_t i = 0; i < paths.size(); ++i) table_[i].path = paths[i];
  return true;
}

}  // namespace trovik

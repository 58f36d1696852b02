#pragma once
// Extension DLLs for the unit tests: a path maps to a table of C functions
// written in the test, so the host calls them through the very same ABI and
// thunks as it calls a real DLL. Loading counts references as Windows does;
// looking up or freeing a library that is not loaded fails the test.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/libraries.h"

namespace trovik::test {

class FakeLibraries : public Libraries {
 public:
  using Exports = std::map<std::string, void*>;

  // A DLL at this path (any case) exporting these functions.
  void add(const std::string& path, Exports exports);
  // From now on, loading this path fails as a broken DLL would.
  void failLoading(const std::string& path);

  LibraryHandle load(const std::string& path) override;
  void* symbol(LibraryHandle library, const std::string& name) override;
  void free(LibraryHandle library) override;

  // How often loading the DLL was tried, and how many loads are not freed yet.
  int loads(const std::string& path) const;
  int references(const std::string& path) const;
  // Every DLL is unloaded.
  bool noneLoaded() const;
  LibraryHandle handleOf(const std::string& path) const;

 private:
  struct Dll {
    Exports exports;
    LibraryHandle handle = 0;
    int loads = 0;
    int references = 0;
    bool fails = false;
  };
  const Dll* find(const std::string& path) const;
  Dll* byHandle(LibraryHandle library);
  std::map<std::string, Dll> dlls_;  // by lower-case path
  LibraryHandle next_ = 0x10000;
};

// Any C function as an export address.
template <class F>
void* exportOf(F* f) {
  return reinterpret_cast<void*>(f);
}

}  // namespace trovik::test

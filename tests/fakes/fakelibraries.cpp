#include "fakelibraries.h"

#include "core/paths.h"

namespace trovik::test {

void FakeLibraries::add(const std::string& path, Exports exports) {
  Dll& d = dlls_[lower(path)];
  d.exports = std::move(exports);
  if (!d.handle) d.handle = next_ += 0x10000;
}

void FakeLibraries::failLoading(const std::string& path) { dlls_[lower(path)].fails = true; }

LibraryHandle FakeLibraries::load(const std::string& path) {
  auto it = dlls_.find(lower(path));
  if (it == dlls_.end()) return 0;
  ++it->second.loads;
  if (it->second.fails) return 0;
  ++it->second.references;
  return it->second.handle;
}

FakeLibraries::Dll* FakeLibraries::byHandle(LibraryHandle library) {
  for (auto& [path, d] : dlls_)
    if (d.handle == library && d.references > 0) return &d;
  return nullptr;
}

void* FakeLibraries::symbol(LibraryHandle library, const std::string& name) {
  Dll* d = byHandle(library);
  if (!d) {
    ADD_FAILURE() << "GetProcAddress(\"" << name << "\") on library " << library
                  << ", which is not loaded";
    return nullptr;
  }
  auto it = d->exports.find(name);
  return it == d->exports.end() ? nullptr : it->second;
}

void FakeLibraries::free(LibraryHandle library) {
  Dll* d = byHandle(library);
  if (!d) {
    ADD_FAILURE() << "FreeLibrary on library " << library << ", which is not loaded";
    return;
  }
  --d->references;
}

const FakeLibraries::Dll* FakeLibraries::find(const std::string& path) const {
  auto it = dlls_.find(lower(path));
  return it == dlls_.end() ? nullptr : &it->second;
}

int FakeLibraries::loads(const std::string& path) const {
  const Dll* d = find(path);
  return d ? d->loads : 0;
}

int FakeLibraries::references(const std::string& path) const {
  const Dll* d = find(path);
  return d ? d->references : 0;
}

bool FakeLibraries::noneLoaded() const {
  for (const auto& [path, d] : dlls_)
    if (d.references) return false;
  return true;
}

LibraryHandle FakeLibraries::handleOf(const std::string& path) const {
  const Dll* d = find(path);
  return d ? d->handle : 0;
}

}  // namespace trovik::test

#pragma once
// Extension DLLs: loading them, finding their exports and unloading them.
#include <cstdint>
#include <string>

namespace trovik {

// A loaded library (an HMODULE on Windows); 0 is none.
using LibraryHandle = std::uintptr_t;

class Libraries {
 public:
  virtual ~Libraries() = default;
  // LoadLibraryA(path), with the system's own error boxes switched off.
  // Returns 0 when the library cannot be loaded.
  virtual LibraryHandle load(const std::string& path) = 0;
  // GetProcAddress(library, name): the export's address, or null. Names are
  // matched exactly, case included.
  virtual void* symbol(LibraryHandle library, const std::string& name) = 0;
  // FreeLibrary(library).
  virtual void free(LibraryHandle library) = 0;
};

}  // namespace trovik

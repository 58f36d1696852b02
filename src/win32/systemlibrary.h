#pragma once
// Functions of the system libraries that most runs never call, loaded the
// first time one is needed instead of with the program: under Wine every
// library loaded at start-up costs the user time.
#include <windows.h>

namespace trovik::win32 {

// Takes the current directory and the program's own directory out of the
// search for libraries loaded later by bare name (where the system allows).
void restrictLibrarySearch();

// The function name of the system library library, loaded on first use
// from the system folder only;
// throws std::runtime_error with the system's reason when either is missing.
FARPROC systemFunction(const char* library, const char* name);

template <class Fn>
Fn systemFunction(const char* library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(systemFunction(library, name)));
}

}  // namespace trovik::win32

#include "win32/systemlibrary.h"

#include <stdexcept>
#include <string>

#include "win32/win32platform.h"

namespace trovik::win32 {

FARPROC systemFunction(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
  FARPROC fn = module ? GetProcAddress(module, name) : nullptr;
  if (!fn)
    throw std::runtime_error(std::string("Cannot load ") + name + " from " + library + ": " +
                             systemReason(GetLastError()));
  return fn;
}

}  // namespace trovik::win32

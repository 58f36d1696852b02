#pragma once
// The WM_COPYDATA questions other programs (the tests' driver) may ask the program's windows; the
// data holds a name (or an item number), the answer is a number. Shared with the driver, so both
// sides use the same tags.
#include <cstdint>

namespace trovik::win32 {

// To the main window: the number of the menu command whose item has the name the data holds, 0
// for none; the asker then sends WM_COMMAND with it.
inline constexpr std::uintptr_t kCommandIdQuery = 0x434D4944;
// To the main window: the link entries have no window of their own. Asked with an item number (32
// bits) and the asker's window as wParam, it answers with a WM_COPYDATA to that window holding the
// entry, and returns the number of entries.
inline constexpr std::uintptr_t kLinkQuery = 0x4C4E4B51;
// To a dialog: the number of the control whose model has the name the data holds, 0 for none.
inline constexpr std::uintptr_t kControlIdQuery = 0x43544944;

}  // namespace trovik::win32

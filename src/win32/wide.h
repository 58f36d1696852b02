#pragma once
// Where the program's text meets Windows. Inside, text is UTF-8; every
// Windows call that takes or returns text is the W form, and its UTF-16
// is made and read back here and nowhere else.
#include <windows.h>

#include <string>
#include <string_view>

namespace trovik::win32 {

std::wstring wide(std::string_view text);
// Bytes in another code page (CP_ACP: a stored file's, an extension's) as UTF-16.
std::wstring wide(std::string_view bytes, UINT codePage);
std::string narrow(std::wstring_view text);
// A NUL-ended text from Windows; null reads as empty.
std::string narrow(const wchar_t* text);

// The text of a window or control (WM_GETTEXT), whole.
std::string windowText(HWND h);
bool setWindowText(HWND h, std::string_view text);
// An edit control's caret, counted in the program's text rather than in
// UTF-16 units, and set the same way.
int editCaret(HWND edit);
void setEditCaret(HWND edit, int position);
// The full path of the running program, however long.
std::string modulePath();
// A tab control's tab with this text, inserted at index.
void insertTab(HWND tabs, int index, std::string_view text);
int drawText(HDC dc, std::string_view text, RECT& r, UINT format);

}  // namespace trovik::win32

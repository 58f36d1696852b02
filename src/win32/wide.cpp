#include "win32/wide.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

namespace trovik::win32 {

namespace {

// The code page of the program's strings on this side of the edge.
constexpr UINT kInside = CP_UTF8;

std::wstring wideText(HWND h) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

std::wstring wide(std::string_view text) { return wide(text, kInside); }

std::wstring wide(std::string_view bytes, UINT codePage) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), n);
  return out;
}

std::string narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(kInside, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kInside, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

std::string narrow(const wchar_t* text) {
  return text ? narrow(std::wstring_view(text, std::wcslen(text))) : std::string();
}

std::string windowText(HWND h) { return narrow(wideText(h)); }

bool setWindowText(HWND h, std::string_view text) {
  return SetWindowTextW(h, wide(text).c_str()) != 0;
}

int editCaret(HWND edit) {
  DWORD start = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  const std::wstring text = wideText(edit);
  return static_cast<int>(narrow(std::wstring_view(text).substr(0, start)).size());
}

void setEditCaret(HWND edit, int position) {
  const std::string text = windowText(edit);
  const auto at = static_cast<size_t>(std::max(0, position));
  const auto units = static_cast<WPARAM>(wide(std::string_view(text).substr(0, at)).size());
  SendMessageW(edit, EM_SETSEL, units, static_cast<LPARAM>(units));
}

std::string modulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return narrow(std::wstring_view(path).substr(0, n));
    path.resize(path.size() * 2);  // cut short: a very long path
  }
}

void insertTab(HWND tabs, int index, std::string_view text) {
  std::wstring w = wide(text);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = w.data();
  SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int drawText(HDC dc, std::string_view text, RECT& r, UINT format) {
  const std::wstring w = wide(text);
  return DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, format);
}

}  // namespace trovik::win32

#include "win32/win32platform.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <stdexcept>

#include "platform/storedtext.h"
#include "win32/systemlibrary.h"
#include "win32/wide.h"

namespace trovik::win32 {

namespace {

// Reads and writes go in pieces a DWORD can count.
constexpr DWORD kChunk = 1u << 24;

[[noreturn]] void fail(IoError::Op op, const std::string& path, DWORD code) {
  throw IoError(op, path, systemReason(code));
}

FileOwner openFile(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  HANDLE h = CreateFileW(wide(path).c_str(), access, share, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return FileOwner{h == INVALID_HANDLE_VALUE ? nullptr : h};
}

DWORD attributesOf(const std::string& path) { return GetFileAttributesW(wide(path).c_str()); }

// "C:\dir\" names the same directory as "C:\dir", but a drive root keeps its
// backslash: "C:" alone means the current directory of drive C.
std::string withoutTrailingBackslash(const std::string& path) {
  if (path.size() > 1 && (path.back() == '\\' || path.back() == '/') &&
      !(path.size() == 3 && path[1] == ':'))
    return path.substr(0, path.size() - 1);
  return path;
}

struct ComRelease {
  void operator()(IUnknown* p) const noexcept { p->Release(); }
};
template <class T>
using ComPtr = std::unique_ptr<T, ComRelease>;

}  // namespace

std::string systemReason(DWORD code, HMODULE from) {
  wchar_t buf[512];
  const DWORD source = from ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM;
  DWORD n = FormatMessageW(source | FORMAT_MESSAGE_IGNORE_INSERTS, from, code, 0, buf,
                           sizeof buf / sizeof *buf, nullptr);
  std::string text = narrow(std::wstring_view(buf, n));
  while (!text.empty() &&
         (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '\t'))
    text.pop_back();
  // One full stop ends the system's sentence; the caller's sentence goes on.
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (text.empty()) text = "system error " + std::to_string(code);
  return text;
}

bool Win32FileSystem::fileExists(const std::string& path) const {
  const DWORD a = attributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<FileStamp> Win32FileSystem::stamp(const std::string& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return std::nullopt;
  auto join = [](DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | static_cast<std::uint64_t>(low);
  };
  return FileStamp{join(data.nFileSizeHigh, data.nFileSizeLow),
                   join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

bool Win32FileSystem::directoryExists(const std::string& path) const {
  const DWORD a = attributesOf(withoutTrailingBackslash(path));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Win32FileSystem::readFile(const std::string& path) const {
  FileOwner f = openFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  if (!f) fail(IoError::Op::Read, path, GetLastError());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(f.get(), &size)) fail(IoError::Op::Read, path, GetLastError());
  if (static_cast<unsigned long long>(size.QuadPart) > std::numeric_limits<size_t>::max() / 2)
    fail(IoError::Op::Read, path, ERROR_NOT_ENOUGH_MEMORY);
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kChunk));
    DWORD got = 0;
    if (!ReadFile(f.get(), bytes.data() + done, want, &got, nullptr))
      fail(IoError::Op::Read, path, GetLastError());
    if (got == 0) break;  // the file became shorter while we read it
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

void Win32FileSystem::writeFile(const std::string& path, const std::string& bytes) {
  FileOwner f = openFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (!f) fail(IoError::Op::Write, path, GetLastError());
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kChunk));
    DWORD put = 0;
    if (!WriteFile(f.get(), bytes.data() + done, want, &put, nullptr))
      fail(IoError::Op::Write, path, GetLastError());
    if (put == 0) fail(IoError::Op::Write, path, ERROR_DISK_FULL);  // nothing more goes in
    done += put;
  }
  // The caller renames this file over the old one next: its bytes must be on
  // the disk before the old content goes.
  if (!FlushFileBuffers(f.get())) fail(IoError::Op::Write, path, GetLastError());
  HANDLE h = f.release();
  if (!CloseHandle(h)) fail(IoError::Op::Write, path, GetLastError());
}

void Win32FileSystem::replaceFile(const std::string& from, const std::string& to) {
  if (!MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    fail(IoError::Op::Rename, to, GetLastError());
}

bool Win32FileSystem::deleteFile(const std::string& path) {
  return DeleteFileW(wide(path).c_str()) != 0;
}

namespace {
// Every entry of a FindFirstFileW pattern in turn, until visit says stop.
void findEntries(const std::string& pattern, const FileSystem::Visit& visit) {
  WIN32_FIND_DATAW data{};
  HANDLE h = FindFirstFileW(wide(pattern).c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return;  // a missing or unreadable directory is empty
  FindOwner find{h};
  do {
    if (!visit({narrow(data.cFileName), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0}))
      return;
  } while (FindNextFileW(find.get(), &data));
}
}  // namespace

std::vector<DirEntry> Win32FileSystem::listDirectory(const std::string& dir) const {
  std::vector<DirEntry> entries;
  findEntries(dir + "*.*", [&](const DirEntry& e) {
    entries.push_back(e);
    return true;
  });
  return entries;
}

void Win32FileSystem::visitDirectory(const std::string& dir, const std::string& namePrefix,
                                     const Visit& visit) const {
  // A typed wildcard would change what the pattern means: then every name is
  // visited, and the caller's own test picks.
  const bool wild = namePrefix.find_first_of("*?") != std::string::npos;
  findEntries(dir + (wild ? std::string() : namePrefix) + "*", visit);
}

std::vector<std::string> Win32FileSystem::drives() const {
  std::vector<std::string> roots;
  const DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i)
    if (mask & (1u << i)) roots.push_back(std::string(1, static_cast<char>('A' + i)) + ":\\");
  return roots;
}

void Win32FileSystem::createDirectory(const std::string& path) {
  if (!CreateDirectoryW(wide(withoutTrailingBackslash(path)).c_str(), nullptr))
    fail(IoError::Op::Create, path, GetLastError());
}

bool Win32FileSystem::removeDirectory(const std::string& path) {
  return RemoveDirectoryW(wide(withoutTrailingBackslash(path)).c_str()) != 0;
}

void Win32FileSystem::renameDirectory(const std::string& from, const std::string& to) {
  if (!MoveFileW(wide(withoutTrailingBackslash(from)).c_str(),
                 wide(withoutTrailingBackslash(to)).c_str()))
    fail(IoError::Op::Rename, to, GetLastError());
}

std::string Win32FileSystem::ansiToUtf8(std::string_view bytes) const {
  // Most texts an extension passes, and most names, need no conversion.
  if (isAscii(bytes)) return std::string(bytes);
  return narrow(wide(bytes, CP_ACP));
}

std::string Win32FileSystem::utf8ToAnsi(std::string_view text, bool* exact) const {
  if (exact) *exact = true;
  if (isAscii(text)) return std::string(text);
  const std::wstring w = wide(text);
  const int size = static_cast<int>(w.size());
  BOOL lossy = FALSE;
  const int n =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), size, nullptr, 0, "?", &lossy);
  std::string bytes(static_cast<size_t>(std::max(n, 0)), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), size, bytes.data(), n, "?", &lossy);
  // Some code pages say nothing of a loss: only a reading back to the same
  // text proves the bytes exact.
  if (exact) *exact = n > 0 && !lossy && ansiToUtf8(bytes) == text;
  return bytes;
}

Answer Win32MessageBoxes::show(WindowHandle owner, const std::string& text,
                               const std::string& caption, Buttons buttons, Icon icon) {
  UINT type = MB_OK;
  switch (buttons) {
    case Buttons::Ok:
      type = MB_OK;
      break;
    case Buttons::OkCancel:
      type = MB_OKCANCEL;
      break;
    case Buttons::YesNo:
      type = MB_YESNO;
      break;
    case Buttons::YesNoCancel:
      type = MB_YESNOCANCEL;
      break;
    case Buttons::RetryCancel:
      type = MB_RETRYCANCEL;
      break;
  }
  switch (icon) {
    case Icon::None:
      break;
    case Icon::Information:
      type |= MB_ICONINFORMATION;
      break;
    case Icon::Warning:
      type |= MB_ICONWARNING;
      break;
    case Icon::Error:
      type |= MB_ICONERROR;
      break;
    case Icon::Question:
      type |= MB_ICONQUESTION;
      break;
  }
  // Without an owner window the box must still come to the front, or it
  // hides behind whatever the user was doing while the program starts.
  if (owner == 0) type |= MB_SETFOREGROUND | MB_TASKMODAL;
  switch (
      MessageBoxW(reinterpret_cast<HWND>(owner), wide(text).c_str(), wide(caption).c_str(), type)) {
    case IDOK:
      return Answer::Ok;
    case IDYES:
      return Answer::Yes;
    case IDNO:
      return Answer::No;
    case IDRETRY:
      return Answer::Retry;
    default:
      return Answer::Cancel;  // IDCANCEL, Escape, or no box at all
  }
}

void Win32MessagePump::processMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The program is ending: leave the quit for the main loop to see.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (preTranslate && preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::string Win32ShellLinks::resolveTarget(const std::string& lnkPath) {
  IShellLinkW* rawLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&rawLink))))
    return {};
  ComPtr<IShellLinkW> link{rawLink};
  IPersistFile* rawFile = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)))) return {};
  ComPtr<IPersistFile> file{rawFile};
  const std::wstring path = wide(lnkPath);
  if (path.empty() || FAILED(file->Load(path.c_str(), STGM_READ))) return {};
  // No dialog and no search: a shortcut whose target is gone just has none.
  // The high word is how long the shell may look, in milliseconds.
  const DWORD flags = MAKELONG(SLR_NO_UI | SLR_NOUPDATE | SLR_NOSEARCH, 1000);
  if (FAILED(link->Resolve(nullptr, flags))) return {};
  wchar_t target[MAX_PATH + 1] = {};
  if (link->GetPath(target, MAX_PATH, nullptr, 0) != S_OK) return {};
  return narrow(target);
}

Date Win32Clock::today() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay};
}

std::string Win32Clock::shortDatePattern() {
  wchar_t buf[80] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buf, 80) == 0) return "dd/MM/yyyy";
  return narrow(buf);
}

std::string Win32Clock::formatShortDate(const Date& d) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(d.year);
  t.wMonth = static_cast<WORD>(d.month);
  t.wDay = static_cast<WORD>(d.day);
  wchar_t buf[128] = {};
  const int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, buf, 128);
  if (n > 0) return narrow(std::wstring_view(buf, static_cast<size_t>(n - 1)));  // n counts the NUL
  // A date the locale cannot write (out of range): still say something exact.
  char fallback[32];
  std::snprintf(fallback, sizeof fallback, "%04d-%02d-%02d", d.year, d.month, d.day);
  return fallback;
}

LibraryHandle Win32Libraries::load(const std::string& path) {
  // A DLL that cannot be loaded is skipped quietly; the system must not stop
  // to ask about a missing disk or a broken image on the user's behalf.
  const UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // The DLL by its full path (a relative one as the existence test saw it,
  // from the current directory), and its own DLLs looked for beside it:
  // never by a bare name through the search.
  const std::wstring given = wide(path);
  std::wstring full(MAX_PATH, L'\0');
  const DWORD n = GetFullPathNameW(given.c_str(), MAX_PATH, full.data(), nullptr);
  full = n > 0 && n < MAX_PATH ? full.substr(0, n) : given;
  HMODULE module = LoadLibraryExW(full.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  SetErrorMode(old);
  return reinterpret_cast<LibraryHandle>(module);
}

void* Win32Libraries::symbol(LibraryHandle library, const std::string& name) {
  if (!library) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name.c_str()));
}

void Win32Libraries::free(LibraryHandle library) {
  if (library) FreeLibrary(reinterpret_cast<HMODULE>(library));
}

namespace {
// The file dialogs' library is loaded the first time one is opened: it is
// large, and most runs never open one.
using GetOpenFileNameFn = BOOL(WINAPI*)(OPENFILENAMEW*);
GetOpenFileNameFn openFileDialog() {
  static const GetOpenFileNameFn fn =
      systemFunction<GetOpenFileNameFn>("comdlg32.dll", "GetOpenFileNameW");
  return fn;
}
}  // namespace

bool Win32OpenDialog::execute(WindowHandle owner, OpenDialogSettings& settings) {
  // The filter's "|" separators become the NULs the system expects, ended by two.
  std::wstring filter = wide(settings.filter);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.append(2, L'\0');
  std::string ext = settings.defaultExt;
  if (ext.rfind("*.", 0) == 0) ext.erase(0, 2);
  const std::wstring wideExt = wide(ext), initialDir = wide(settings.initialDir);
  std::wstring file = wide(settings.fileName);
  file.resize(std::max<size_t>(file.size() + 1, 4096), L'\0');

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = reinterpret_cast<HWND>(owner);
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrDefExt = wideExt.empty() ? nullptr : wideExt.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!openFileDialog()(&ofn)) return false;
  settings.fileName = narrow(file.c_str());
  return true;
}

}  // namespace trovik::win32

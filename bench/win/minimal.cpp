// trovik-minimal.exe: the baseline of the window benchmarks. The least a program can do to show a
// fileset: read its two list files, split them into lines and fill one list box with the names,
// under a tab bar with a tab for each fileset of the directory (as a launcher shows them), in one
// window with a system frame.
//   trovik-minimal.exe <dir> [<other dir>]
// A sent WM_APP switches to the other directory the same way (read, split, refill) and returns
// when the list shows it. The list box has the main window's list number (101), so the bench
// finds both programs' lists alike.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kListId = 101;
HWND list = nullptr;
HWND tabs = nullptr;
constexpr int kTabHeight = 24;
std::string dirs[2];
int current = 0;

std::string readWhole(const std::string& path) {
  std::string bytes;
  HANDLE f =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size{};
  GetFileSizeEx(f, &size);
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  CloseHandle(f);
  return bytes;
}

// The lines of a list file: memchr finds each line end, as in the program.
std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* e = lf ? lf : end;
    out.emplace_back(p, static_cast<size_t>(e > p && e[-1] == '\r' ? e - 1 - p : e - p));
    p = e + 1;
  }
  return out;
}

void show(const std::string& dir) {
  const std::vector<std::string> names = lines(readWhole(dir + "\\name.qdx"));
  const std::vector<std::string> links = lines(readWhole(dir + "\\link.qdx"));
  size_t bytes = 0;
  for (const std::string& n : names) bytes += n.size() + 1;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  SendMessageA(list, LB_INITSTORAGE, names.size(), static_cast<LPARAM>(bytes));
  for (const std::string& n : names)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  (void)links;  // read as the program reads them; the window shows the names only
}

// One tab for the directory itself and one for each fileset directory within it.
void addTabs(const std::string& dir) {
  std::vector<std::string> names{"Main"};
  WIN32_FIND_DATAA found{};
  HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != ".." &&
          GetFileAttributesA((dir + "\\" + name + "\\name.qdx").c_str()) != INVALID_FILE_ATTRIBUTES)
        names.push_back(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  for (size_t i = 0; i < names.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = names[i].data();
    SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
}

LRESULT CALLBACK procedure(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_SIZE:
      if (tabs) MoveWindow(tabs, 0, 0, LOWORD(l), kTabHeight, TRUE);
      if (list) MoveWindow(list, 0, kTabHeight, LOWORD(l), HIWORD(l) - kTabHeight, TRUE);
      return 0;
    case WM_APP:
      if (!dirs[1].empty()) current = 1 - current;
      show(dirs[current]);
      UpdateWindow(list);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(h, msg, w, l);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  dirs[0] = argv[1];
  if (argc > 2) dirs[1] = argv[2];
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSA wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "TrovikMinimal";
  RegisterClassA(&wc);
  HWND main = CreateWindowExA(0, wc.lpszClassName, "Minimal", WS_OVERLAPPEDWINDOW, 100, 100, 300,
                              400, nullptr, nullptr, wc.hInstance, nullptr);
  list =
      CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0,
                      300, 400, main, reinterpret_cast<HMENU>(kListId), wc.hInstance, nullptr);
  tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 300,
                         kTabHeight, main, nullptr, wc.hInstance, nullptr);
  const WPARAM font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageA(tabs, WM_SETFONT, font, 0);
  SendMessageA(list, WM_SETFONT, font, 0);
  addTabs(dirs[0]);
  show(dirs[0]);
  ShowWindow(main, SW_SHOW);
  UpdateWindow(main);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

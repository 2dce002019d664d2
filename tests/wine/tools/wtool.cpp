// A test tool for the Wine tests: looks at and drives other programs' windows from inside the
// Wine desktop, where X11 tools only see the desktop as a whole. Prints one result per line.
#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../standin/announce.h"
#include "browser.h"

namespace {

struct Found {
  HWND window;
};

std::string Text(HWND window) {
  char text[1024] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      &length);
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::vector<HWND> TopLevel(const char* className, const char* title, DWORD pid, bool visibleOnly) {
  struct Query {
    const char* className;
    const char* title;
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
  } query{className, title, pid, visibleOnly, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& q = *reinterpret_cast<Query*>(param);
        if (q.className && lstrcmpiA(ClassOf(window).c_str(), q.className) != 0) return TRUE;
        if (q.title && Text(window) != q.title) return TRUE;
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (q.pid && owner != q.pid) return TRUE;
        if (q.visibleOnly && !IsWindowVisible(window)) return TRUE;
        q.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&query));
  return query.found;
}

void PrintWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  std::printf("hwnd=%ld x=%ld y=%ld w=%ld h=%ld exstyle=0x%lx visible=%d pid=%lu class=%s title=%s\n",
              static_cast<long>(reinterpret_cast<LONG_PTR>(window)), r.left, r.top, r.right - r.left,
              r.bottom - r.top, static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)),
              IsWindowVisible(window) ? 1 : 0, pid, ClassOf(window).c_str(), Text(window).c_str());
}

// Waits up to `seconds` for the condition, looking every 20 ms.
template <typename Condition>
bool WaitFor(double seconds, Condition condition) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() > end) return false;
    Sleep(20);
  }
}

HWND FindChild(HWND parent, const char* className) {
  struct Query {
    const char* className;
    HWND found;
  } query{className, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto& q = *reinterpret_cast<Query*>(param);
        if (lstrcmpiA(ClassOf(child).c_str(), q.className) != 0) return TRUE;
        q.found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&query));
  return query.found;
}

// Memory inside another process, for control messages that carry pointers.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, SIZE_T size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  bool ok() const { return memory_ != nullptr; }
  char* at(SIZE_T offset) const { return static_cast<char*>(memory_) + offset; }
  void Write(SIZE_T offset, const void* data, SIZE_T size) {
    WriteProcessMemory(process_, at(offset), data, size, nullptr);
  }
  void Read(SIZE_T offset, void* data, SIZE_T size) {
    ReadProcessMemory(process_, at(offset), data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* memory_ = nullptr;
  SIZE_T size_;
};

// A tab control's count, selection, and each tab's screen rectangle and caption: the strip's,
// or that of the visible window with the given title.
int Tabs(const char* title) {
  const auto strips = title ? TopLevel(nullptr, title, 0, true) : TopLevel("WendrelStrip", nullptr, 0, false);
  if (strips.empty()) {
    std::printf("no window\n");
    return 1;
  }
  const HWND tab = FindChild(strips[0], WC_TABCONTROLA);
  if (!tab) {
    std::printf("no tab control\n");
    return 1;
  }
  const auto count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
  const auto selected = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
  const auto rows = static_cast<int>(SendMessageA(tab, TCM_GETROWCOUNT, 0, 0));
  std::printf("count=%d selected=%d rows=%d\n", count, selected + 1, rows);
  RemoteBuffer remote(tab, 4096);
  if (!remote.ok()) return 1;
  for (int i = 0; i < count; ++i) {
    RECT r{};
    SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote.at(0)));
    remote.Read(0, &r, sizeof r);
    MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&r), 2);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = remote.at(1024);
    item.cchTextMax = 1000;
    char zero[1000] = {};
    remote.Write(1024, zero, sizeof zero);
    remote.Write(512, &item, sizeof item);
    SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote.at(512)));
    char text[1000] = {};
    remote.Read(1024, text, sizeof text - 1);
    std::printf("tab=%d x=%ld y=%ld w=%ld h=%ld caption=%s\n", i + 1, r.left, r.top, r.right - r.left,
                r.bottom - r.top, text);
  }
  return 0;
}

// The report-mode list view of a window that has the given number of columns: its rows,
// cells separated by '|'.
int ListView(HWND top, int columnsWanted) {
  struct Query {
    std::vector<HWND> found;
  } query;
  EnumChildWindows(
      top,
      [](HWND child, LPARAM param) -> BOOL {
        if (lstrcmpiA(ClassOf(child).c_str(), WC_LISTVIEWA) == 0) {
          reinterpret_cast<Query*>(param)->found.push_back(child);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&query));
  HWND list = nullptr;
  int columns = 0;
  for (HWND candidate : query.found) {
    const HWND header = reinterpret_cast<HWND>(SendMessageA(candidate, LVM_GETHEADER, 0, 0));
    columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    if (columns == columnsWanted) {
      list = candidate;
      break;
    }
  }
  if (!list) return 1;
  const auto rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  RECT frame{};
  GetWindowRect(list, &frame);
  std::printf("rows=%d columns=%d x=%ld y=%ld w=%ld h=%ld\n", rows, columns, frame.left, frame.top,
              frame.right - frame.left, frame.bottom - frame.top);
  RemoteBuffer remote(list, 4096);
  if (!remote.ok()) return 1;
  for (int row = 0; row < rows; ++row) {
    std::string line;
    for (int column = 0; column < columns; ++column) {
      LVITEMA item{};
      item.iSubItem = column;
      item.pszText = remote.at(1024);
      item.cchTextMax = 1000;
      remote.Write(512, &item, sizeof item);
      const auto length = SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                       reinterpret_cast<LPARAM>(remote.at(512)));
      char text[1000] = {};
      if (length > 0) remote.Read(1024, text, static_cast<SIZE_T>(length));
      if (column) line += '|';
      line += text;
    }
    RECT r{};
    r.left = LVIR_BOUNDS;
    remote.Write(0, &r, sizeof r);
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.at(0)));
    remote.Read(0, &r, sizeof r);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
    std::printf("row=%d x=%ld y=%ld w=%ld h=%ld text=%s\n", row, r.left, r.top, r.right - r.left,
                r.bottom - r.top, line.c_str());
  }
  return 0;
}

// Every visible control of a window, with its screen rectangle: the dialog tests click them.
int Controls(HWND top) {
  EnumChildWindows(
      top,
      [](HWND child, LPARAM) -> BOOL {
        if (!IsWindowVisible(child)) return TRUE;
        RECT r{};
        GetWindowRect(child, &r);
        std::printf("id=%d x=%ld y=%ld w=%ld h=%ld enabled=%d class=%s text=%s\n", GetDlgCtrlID(child),
                    r.left, r.top, r.right - r.left, r.bottom - r.top, IsWindowEnabled(child) ? 1 : 0,
                    ClassOf(child).c_str(), Text(child).c_str());
        return TRUE;
      },
      0);
  return 0;
}

// The texts of a message box: its static controls that hold text.
std::string BoxText(HWND box) {
  std::string text;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM param) -> BOOL {
        if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0) {
          const std::string part = Text(child);
          if (!part.empty()) *reinterpret_cast<std::string*>(param) += part;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&text));
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

// Stand-in browser windows, any number in one process: they announce their arrival and
// departure to the stand-in shell, if one is running, and the process ends with its last one.
int openFrames = 0;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    standin::Announce(window, false);
    if (--openFrames == 0) PostQuitMessage(0);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A stand-in browser window: the page title as caption, an address bar, and its own extended
// style (the application-window style unless given); shown unless the window is to wait for its
// browser object to show it.
HWND NewFrame(const char* className, const char* title, const char* url, bool show, DWORD exStyle) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className;
  RegisterClassA(&wc);  // fails harmlessly for the second window of the class
  const HWND window = CreateWindowExA(exStyle, className, title, WS_OVERLAPPEDWINDOW, 100, 100, 500, 300,
                                      nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return nullptr;
  ++openFrames;
  CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", url, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 4, 4, 400, 22,
                  window, nullptr, wc.hInstance, nullptr);
  if (show) ShowWindow(window, SW_SHOW);
  // Only browser and folder windows are the shell's: a window of another kind stays unlisted.
  if (strcmp(className, "IEFrame") == 0 || strcmp(className, "CabinetWClass") == 0) {
    standin::Announce(window, true);
  }
  return window;
}

int RunFrames() {
  MSG msg;
  while (openFrames > 0 && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

// Delivers this process's messages (its frames answer the program's questions) for `ms`.
void Pump(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

int StripTabCount() {
  const auto strips = TopLevel("WendrelStrip", nullptr, 0, false);
  const HWND tab = strips.empty() ? nullptr : FindChild(strips[0], WC_TABCONTROLA);
  DWORD_PTR count = 0;
  if (!tab || !SendMessageTimeoutA(tab, TCM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return -1;
  return static_cast<int>(count);
}

// Opens `count` windows one after the other and prints how long each took to get its tab, then
// the median; the windows stay open until the program is done with them. A first window, not
// timed, lets the program finish starting up.
std::wstring Wide(const std::string& utf8);

// A browser class makes them today's browsers' windows (the tool then runs as a browser's copy).
int TimeToTab(int count, double seconds, const char* browserClass) {
  std::vector<ULONGLONG> times;
  std::vector<HWND> windows;
  for (int i = 0; i <= count; ++i) {
    const int before = StripTabCount();
    const std::string title = "Timed " + std::to_string(i);
    const std::string url = "http://timed" + std::to_string(i) + ".example.org/";
    const ULONGLONG start = GetTickCount64();
    windows.push_back(browserClass ? browser::Open(Wide(browserClass), Wide(title), Wide(url))
                                   : NewFrame("IEFrame", title.c_str(), url.c_str(), true, WS_EX_APPWINDOW));
    while (StripTabCount() != before + 1) {
      if (GetTickCount64() - start > static_cast<ULONGLONG>(seconds * 1000)) {
        std::printf("timeout\n");
        return 1;
      }
      Pump(5);
    }
    if (i > 0) {
      times.push_back(GetTickCount64() - start);
      std::printf("ms=%llu\n", times.back());
      std::fflush(stdout);
    }
    // The next window opens after the pass has ended: its last steps select the new tab and
    // bring the strip to the foreground.
    const HWND strip = TopLevel("WendrelStrip", nullptr, 0, false).front();
    const HWND tab = FindChild(strip, WC_TABCONTROLA);
    while (!(SendMessageA(tab, TCM_GETCURSEL, 0, 0) == before && GetForegroundWindow() == strip)) {
      if (GetTickCount64() - start > static_cast<ULONGLONG>(seconds * 1000)) break;
      Pump(5);
    }
  }
  std::vector<ULONGLONG> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  std::printf("median=%llu\n", sorted[sorted.size() / 2]);
  std::fflush(stdout);
  for (HWND window : windows) DestroyWindow(window);
  return 0;
}

// The program's arguments as UTF-8, whatever the code page: the 8-bit argv would have turned
// every character outside it into a question mark.
std::vector<std::string> Utf8Args() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(static_cast<size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), length, nullptr, nullptr);
    arg.resize(std::strlen(arg.c_str()));
    args.push_back(arg);
  }
  LocalFree(wide);
  return args;
}

std::wstring Wide(const std::string& utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
  return text;
}

std::string Utf8(const std::wstring& wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                      nullptr);
  return text;
}

// A text argument, or the UTF-8 content of a file when it is written @PATH (for texts longer
// than a command line should carry).
std::string TextArg(const std::string& arg) {
  if (arg.empty() || arg[0] != '@') return arg;
  std::string content;
  if (FILE* file = _wfopen(Wide(arg.substr(1)).c_str(), L"rb")) {
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, read);
    std::fclose(file);
  }
  return content;
}

LRESULT CALLBACK WideFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    standin::Announce(window, false);
    PostQuitMessage(0);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A stand-in browser window made with the wide calls, so its title and address may hold any
// character.
int WideFrame(const std::string& className, const std::string& title, const std::string& url) {
  const std::wstring wideClass = Wide(className);
  WNDCLASSW wc{};
  wc.lpfnWndProc = WideFrameProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = wideClass.c_str();
  RegisterClassW(&wc);
  const HWND window =
      CreateWindowExW(WS_EX_APPWINDOW, wideClass.c_str(), Wide(title).c_str(), WS_OVERLAPPEDWINDOW, 100, 100,
                      500, 300, nullptr, nullptr, wc.hInstance, nullptr);
  const HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 4,
                                    4, 400, 22, window, nullptr, wc.hInstance, nullptr);
  // An edit field holds 30,000 characters unless told otherwise.
  SendMessageW(edit, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
  SetWindowTextW(edit, Wide(url).c_str());
  ShowWindow(window, SW_SHOW);
  standin::Announce(window, true);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

// The strip's tab captions in UTF-8, one a line: tab=N caption=TEXT.
int Captions() {
  const auto strips = TopLevel("WendrelStrip", nullptr, 0, false);
  if (strips.empty()) return 1;
  const HWND tab = FindChild(strips[0], WC_TABCONTROLA);
  if (!tab) return 1;
  const auto count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
  RemoteBuffer remote(tab, 8192);
  if (!remote.ok()) return 1;
  for (int i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<LPWSTR>(remote.at(1024));
    item.cchTextMax = 1000;
    wchar_t text[1001] = {};
    remote.Write(1024, text, sizeof text);
    remote.Write(512, &item, sizeof item);
    SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote.at(512)));
    remote.Read(1024, text, 1000 * sizeof(wchar_t));
    std::printf("tab=%d caption=%s\n", i + 1, Utf8(text).c_str());
  }
  return 0;
}

// The rows of a window's report-mode list view with the given number of columns, in UTF-8:
// row=N text=CELL|CELL|...
int Utf8ListView(HWND top, int columnsWanted) {
  std::vector<HWND> lists;
  EnumChildWindows(
      top,
      [](HWND child, LPARAM param) -> BOOL {
        if (lstrcmpiA(ClassOf(child).c_str(), WC_LISTVIEWA) == 0)
          reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&lists));
  for (HWND list : lists) {
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (!header || static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) != columnsWanted) continue;
    RemoteBuffer remote(list, 8192);
    if (!remote.ok()) return 1;
    const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
      std::wstring line;
      for (int column = 0; column < columnsWanted; ++column) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = reinterpret_cast<LPWSTR>(remote.at(1024));
        item.cchTextMax = 1000;
        remote.Write(512, &item, sizeof item);
        const auto length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                         reinterpret_cast<LPARAM>(remote.at(512)));
        wchar_t text[1001] = {};
        if (length > 0) remote.Read(1024, text, static_cast<SIZE_T>(length) * sizeof(wchar_t));
        if (column) line += L'|';
        line += text;
      }
      std::printf("row=%d text=%s\n", row, Utf8(line).c_str());
    }
    return 0;
  }
  return 1;
}

// The labels of a window whose text does not fit them: each visible static control's text is
// laid out, word-wrapped at the control's width, in the dialog's label font at the system's DPI
// (8.25-point bold MS Sans Serif). Prints one line a clipped label; the result is their count.
int ClippedLabels(HWND top) {
  SetProcessDPIAware();
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  const HFONT font = CreateFontW(-MulDiv(11, dpi, 96), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
  const HGDIOBJ old = SelectObject(screen, font);
  struct Query {
    HDC dc;
    int clipped;
  } query{screen, 0};
  EnumChildWindows(
      top,
      [](HWND child, LPARAM param) -> BOOL {
        auto& q = *reinterpret_cast<Query*>(param);
        if (!IsWindowVisible(child) || lstrcmpiA(ClassOf(child).c_str(), "Static") != 0) return TRUE;
        wchar_t text[1024] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                            &length);
        if (length == 0) return TRUE;
        RECT box{};
        GetClientRect(child, &box);
        RECT needed{0, 0, box.right, 0};
        DrawTextW(q.dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        if (needed.bottom > box.bottom || needed.right > box.right) {
          std::printf("clipped w=%ld h=%ld needs w=%ld h=%ld text=%s\n", box.right, box.bottom, needed.right,
                      needed.bottom, Utf8(text).c_str());
          ++q.clipped;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&query));
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return query.clipped;
}

int Usage() {
  std::fprintf(stderr, "usage: wtool <command> ...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  if (argv[1][0] == '-') {  // started as a browser, to open sites
    std::vector<std::wstring> args;
    for (const std::string& one : Utf8Args()) args.push_back(Wide(one));
    return browser::Launched(args);
  }
  const std::string command = argv[1];
  auto arg = [&](int i) -> const char* { return i < argc ? argv[i] : ""; };
  auto number = [&](int i, double fallback) { return i < argc ? std::atof(argv[i]) : fallback; };

  if (command == "keep") {
    // Keeps the virtual desktop open: Wine closes it when its last program ends.
    CreateWindowExA(0, "Static", "keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
  }
  if (command == "workarea") {
    RECT r{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (command == "wait-workarea") {  // bottom timeout: the taskbar has taken its place
    const long bottom = std::atol(arg(2));
    RECT r{};
    const bool ok = WaitFor(number(3, 60), [&] {
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
      return r.bottom == bottom;
    });
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return ok ? 0 : 1;
  }
  if (command == "wait-window") {  // class pid timeout [title]: the first visible one
    const DWORD pid = static_cast<DWORD>(std::atol(arg(3)));
    const char* title = argc > 5 ? arg(5) : nullptr;
    const ULONGLONG start = GetTickCount64();
    std::vector<HWND> found;
    if (!WaitFor(number(4, 60), [&] { return !(found = TopLevel(arg(2), title, pid, true)).empty(); })) {
      std::printf("timeout\n");
      return 1;
    }
    std::printf("ms=%llu ", GetTickCount64() - start);
    PrintWindow(found[0]);
    return 0;
  }
  if (command == "wait-gone") {  // class timeout [title]: no visible window of the class is left
    const char* title = argc > 4 ? arg(4) : nullptr;
    return WaitFor(number(3, 60), [&] { return TopLevel(arg(2), title, 0, true).empty(); }) ? 0 : 1;
  }
  if (command == "list") {  // class: every top-level window of the class
    for (HWND window : TopLevel(arg(2), nullptr, 0, false)) PrintWindow(window);
    return 0;
  }
  if (command == "box") {  // title timeout: waits for a message box and prints its text
    std::vector<HWND> found;
    if (!WaitFor(number(3, 60), [&] { return !(found = TopLevel("#32770", arg(2), 0, true)).empty(); })) {
      std::printf("timeout\n");
      return 1;
    }
    std::printf("%s\n", BoxText(found[0]).c_str());
    return 0;
  }
  if (command == "answer") {  // title button-id timeout: presses a button of a message box
    std::vector<HWND> found;
    if (!WaitFor(number(4, 60), [&] { return !(found = TopLevel("#32770", arg(2), 0, true)).empty(); })) {
      std::printf("timeout\n");
      return 1;
    }
    const HWND box = found[0];
    std::printf("%s\n", BoxText(box).c_str());
    const int id = std::atoi(arg(3));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    return WaitFor(number(4, 60), [&] { return !IsWindow(box) || !IsWindowVisible(box); }) ? 0 : 1;
  }
  if (command == "close") {  // class [title]: asks every such window to close
    const char* title = argc > 3 ? arg(3) : nullptr;
    for (HWND window : TopLevel(arg(2), title, 0, false)) PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == "post") {  // class message|registered-name wparam lparam: to the first such window
    const auto windows = TopLevel(arg(2), nullptr, 0, false);
    if (windows.empty()) return 1;
    const UINT message = std::isdigit(static_cast<unsigned char>(arg(3)[0]))
                             ? static_cast<UINT>(std::strtoul(arg(3), nullptr, 0))
                             : RegisterWindowMessageA(arg(3));
    PostMessageA(windows[0], message, static_cast<WPARAM>(std::strtoull(arg(4), nullptr, 0)),
                 static_cast<LPARAM>(std::strtoll(arg(5), nullptr, 0)));
    return 0;
  }
  if (command == "children") {  // class: the child windows of the first such window
    const auto windows = TopLevel(arg(2), nullptr, 0, false);
    if (windows.empty()) return 1;
    EnumChildWindows(
        windows[0],
        [](HWND child, LPARAM) -> BOOL {
          PrintWindow(child);
          return TRUE;
        },
        0);
    return 0;
  }
  if (command == "tabs") return Tabs(argc > 2 ? arg(2) : nullptr);
  if (command == "settext") {  // window-title n text: types into the window's nth visible edit field
    const auto windows = TopLevel(nullptr, arg(2), 0, true);
    if (windows.empty()) return 1;
    struct Query {
      int wanted;
      HWND found;
    } query{std::atoi(arg(3)), nullptr};
    EnumChildWindows(
        windows[0],
        [](HWND child, LPARAM param) -> BOOL {
          auto& q = *reinterpret_cast<Query*>(param);
          if (!IsWindowVisible(child) || lstrcmpiA(ClassOf(child).c_str(), "Edit") != 0) return TRUE;
          if (q.wanted-- == 0) {
            q.found = child;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&query));
    if (!query.found) return 1;
    SendMessageA(query.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(4)));
    return 0;
  }
  if (command == "input") {  // title text timeout: fills an input box and presses OK
    std::vector<HWND> found;
    if (!WaitFor(number(4, 60), [&] { return !(found = TopLevel("#32770", arg(2), 0, true)).empty(); })) {
      std::printf("timeout\n");
      return 1;
    }
    const HWND box = found[0];
    const HWND edit = FindChild(box, "Edit");
    if (!edit) return 1;
    std::printf("%s\n", BoxText(box).c_str());
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(3)));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return WaitFor(number(4, 60), [&] { return !IsWindow(box) || !IsWindowVisible(box); }) ? 0 : 1;
  }
  if (command == "listview" || command == "controls") {  // window-title [index]
    const auto windows = TopLevel(nullptr, arg(2), 0, true);
    if (windows.empty()) return 1;
    return command == "listview" ? ListView(windows[0], std::atoi(arg(3))) : Controls(windows[0]);
  }
  if (command == "foreground") {
    const HWND window = GetForegroundWindow();
    if (window) PrintWindow(window);
    return 0;
  }
  if (command == "wait-exit") {  // pid timeout: prints the exit code once the process has ended
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                 static_cast<DWORD>(std::atol(arg(2))));
    if (!process) {
      std::printf("gone\n");
      return 0;
    }
    const DWORD wait = WaitForSingleObject(process, static_cast<DWORD>(number(3, 60) * 1000));
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    if (wait != WAIT_OBJECT_0) {
      std::printf("running\n");
      return 1;
    }
    std::printf("exit=%lu\n", code);
    return 0;
  }
  if (command == "focus") {  // the class and text of the window with the keyboard focus
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(0, &info) || !info.hwndFocus) return 1;
    std::printf("class=%s text=%s\n", ClassOf(info.hwndFocus).c_str(), Text(info.hwndFocus).c_str());
    return 0;
  }
  if (command == "kill") {  // pid: ends the process and waits until it has gone
    // Without SYNCHRONIZE the wait fails at once, and the next program may meet this one.
    HANDLE process =
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(std::atol(arg(2))));
    if (!process) return 0;
    TerminateProcess(process, 9);
    WaitForSingleObject(process, 60000);
    CloseHandle(process);
    return 0;
  }
  if (command == "frame") {  // class title url [hidden] [exstyle]
    bool show = true;
    DWORD exStyle = WS_EX_APPWINDOW;
    for (int i = 5; i < argc; ++i) {
      if (std::strcmp(argv[i], "hidden") == 0) {
        show = false;
      } else {
        exStyle = static_cast<DWORD>(std::strtoul(argv[i], nullptr, 0));
      }
    }
    if (!NewFrame(arg(2), arg(3), arg(4), show, exStyle)) return 1;
    return RunFrames();
  }
  if (command == "frames") {  // class count name [first-late]: "name 1" at http://www.name1.org/, ...
    // All are made first, then shown and announced together: a burst of arrivals.
    std::vector<HWND> windows;
    for (int i = 1; i <= std::atoi(arg(3)); ++i) {
      const std::string title = std::string(arg(4)) + " " + std::to_string(i);
      const std::string url = "http://www." + std::string(arg(4)) + std::to_string(i) + ".org/";
      windows.push_back(NewFrame(arg(2), title.c_str(), url.c_str(), false, WS_EX_APPWINDOW));
    }
    for (HWND window : windows) ShowWindow(window, SW_SHOW);
    // The first window comes forward last, as when a busy desktop activates it late.
    if (argc > 5 && !windows.empty() && windows[0]) {
      SetWindowPos(windows[0], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    return RunFrames();
  }
  if (command == "showwindow") {  // title command: ShowWindow on the visible window with the title
    const auto windows = TopLevel(nullptr, arg(2), 0, true);
    if (windows.empty()) return 1;
    ShowWindow(windows[0], std::atoi(arg(3)));
    return 0;
  }
  if (command == "iconic") {  // title: whether the window with the title is minimised
    const auto windows = TopLevel(nullptr, arg(2), 0, false);
    if (windows.empty()) return 1;
    std::printf("iconic=%d\n", IsIconic(windows[0]) ? 1 : 0);
    return 0;
  }
  if (command == "time-to-tab")  // count timeout [browser-class]
    return TimeToTab(std::atoi(arg(2)), number(3, 60), argc > 4 ? arg(4) : nullptr);
  if (command == "browser") {  // class count title address [hang], in UTF-8; '#' is the window's number
    const std::vector<std::string> args = Utf8Args();
    if (args.size() < 6) return Usage();
    browser::hang = args.size() > 6 && args[6] == "hang";
    for (int i = 1; i <= std::atoi(arg(3)); ++i)
      browser::Open(Wide(args[2]), browser::Numbered(Wide(args[4]), i), browser::Numbered(Wide(args[5]), i));
    return browser::Run();
  }
  if (command ==
      "click-front") {  // title timeout: clicks where the pointer is; ms until the window is in front
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    const ULONGLONG start = GetTickCount64();
    SendInput(2, clicks, sizeof(INPUT));
    if (!WaitFor(number(3, 60), [&] { return Text(GetForegroundWindow()) == arg(2); })) return 1;
    std::printf("ms=%llu\n", GetTickCount64() - start);
    return 0;
  }
  if (command == "title") {  // old new, in UTF-8: renames the visible window titled old
    const std::vector<std::string> args = Utf8Args();
    const auto windows = TopLevel(nullptr, arg(2), 0, true);
    if (args.size() < 4 || windows.empty()) return 1;
    DWORD_PTR ignored = 0;
    const std::wstring title = Wide(args[3]);
    return SendMessageTimeoutW(windows[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()),
                               SMTO_ABORTIFHUNG, 5000, &ignored)
               ? 0
               : 1;
  }
  if (command == "windows") {  // pid: every top-level window of that process
    for (HWND window : TopLevel(nullptr, nullptr, static_cast<DWORD>(std::atol(arg(2))), false))
      PrintWindow(window);
    return 0;
  }
  if (command == "procs") {  // exe-name: the process id of every running process of that name
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 1;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
      if (lstrcmpiA(entry.szExeFile, arg(2)) == 0)
        std::printf("pid=%lu parent=%lu\n", entry.th32ProcessID, entry.th32ParentProcessID);
    }
    CloseHandle(snapshot);
    return 0;
  }
  if (command == "crash") {  // pid: a thread of that process runs code at an address that holds none
    HANDLE process = OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                     PROCESS_VM_WRITE | PROCESS_VM_READ,
                                 FALSE, static_cast<DWORD>(std::atol(arg(2))));
    if (!process) return 1;
    const HANDLE thread = CreateRemoteThread(
        process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(0x10), nullptr, 0, nullptr);
    if (thread) CloseHandle(thread);
    CloseHandle(process);
    return thread ? 0 : 1;
  }
  if (command == "wframe") {  // class title url|@file, in UTF-8
    const std::vector<std::string> args = Utf8Args();
    if (args.size() < 5) return Usage();
    return WideFrame(args[2], args[3], TextArg(args[4]));
  }
  if (command == "captions") return Captions();
  if (command == "clipped") {  // window-title: the labels whose text does not fit them
    const auto windows = TopLevel(nullptr, arg(2), 0, true);
    return windows.empty() ? 1 : ClippedLabels(windows[0]);
  }
  if (command == "wlistview") {  // window-title columns: as listview, the cells in UTF-8
    const auto windows = TopLevel(nullptr, arg(2), 0, true);
    return windows.empty() ? 1 : Utf8ListView(windows[0], std::atoi(arg(3)));
  }
  if (command == "start") {  // exe folder, in UTF-8: starts a program and prints its process id
    const std::vector<std::string> args = Utf8Args();
    if (args.size() < 4) return Usage();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = L"\"" + Wide(args[2]) + L"\"";
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, Wide(args[3]).c_str(),
                        &startup, &process)) {
      std::printf("error=%lu\n", GetLastError());
      return 1;
    }
    std::printf("pid=%lu\n", process.dwProcessId);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
  }
  if (command == "move") {  // class title x y width height: moves a window, as its user might
    const auto windows = TopLevel(arg(2), arg(3), 0, false);
    if (windows.empty()) return 1;
    return SetWindowPos(windows[0], nullptr, std::atoi(arg(4)), std::atoi(arg(5)), std::atoi(arg(6)),
                        std::atoi(arg(7)), SWP_NOZORDER | SWP_NOACTIVATE)
               ? 0
               : 1;
  }
  if (command == "set-workarea") {  // left top right bottom: as a taskbar that moved would
    RECT r{std::atol(arg(2)), std::atol(arg(3)), std::atol(arg(4)), std::atol(arg(5))};
    if (!SystemParametersInfoW(SPI_SETWORKAREA, 0, &r, SPIF_SENDCHANGE)) return 1;
    // Wine 8 does not announce the change itself. The announcement goes to every top-level
    // window but Wine's taskbar, which would answer it by setting its own work area again.
    EnumWindows(
        [](HWND window, LPARAM) -> BOOL {
          if (lstrcmpiA(ClassOf(window).c_str(), "Shell_TrayWnd") == 0) return TRUE;
          DWORD_PTR ignored = 0;
          SendMessageTimeoutW(window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
          return TRUE;
        },
        0);
    return 0;
  }
  return Usage();
}

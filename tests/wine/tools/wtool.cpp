// The test tool of the Wine tests, run inside the Wine desktop (where X11 tools see only the
// desktop as a whole): it looks at and drives other programs' windows and controls, and plays
// browser windows. Arguments and results (one a line) are UTF-8.
#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shared.h"

namespace {

// The windows of a class ("" for any) with a title (any when null) of a process (any when 0):
// top-level ones, or descendants of `parent`.
std::vector<HWND> Find(HWND parent, const std::string& className, const char* title = nullptr, DWORD pid = 0,
                       bool visibleOnly = false) {
  std::vector<HWND> found;
  for (HWND window : AllWindows(parent))
    if ((className.empty() || lstrcmpiA(ClassOf(window).c_str(), className.c_str()) == 0) &&
        (!title || TextOf(window) == title) && (!pid || PidOf(window) == pid) &&
        (!visibleOnly || IsWindowVisible(window)))
      found.push_back(window);
  return found;
}
HWND First(const std::vector<HWND>& windows) { return windows.empty() ? nullptr : windows.front(); }
HWND Visible(const std::string& title) { return First(Find(nullptr, "", title.c_str(), 0, true)); }
HWND Strip() { return First(Find(nullptr, "WendrelStrip")); }

std::string Rect(RECT r) {
  return "x=" + std::to_string(r.left) + " y=" + std::to_string(r.top) +
         " w=" + std::to_string(r.right - r.left) + " h=" + std::to_string(r.bottom - r.top);
}
void PrintWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  std::printf("hwnd=%s %s exstyle=0x%lx visible=%d iconic=%d pid=%lu class=%s title=%s\n",
              Decimal(window).c_str(), Rect(r).c_str(),
              static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)),
              IsWindowVisible(window) ? 1 : 0, IsIconic(window) ? 1 : 0, PidOf(window),
              ClassOf(window).c_str(), TextOf(window).c_str());
}

// Memory inside a control's process, for control messages that carry pointers.
class Remote {
 public:
  explicit Remote(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
      memory_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, 8192, MEM_COMMIT, PAGE_READWRITE));
  }
  ~Remote() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  bool ok() const { return memory_ != nullptr; }
  LPARAM At(SIZE_T offset) const { return reinterpret_cast<LPARAM>(memory_ + offset); }
  void Write(SIZE_T offset, const void* data, SIZE_T size) {
    WriteProcessMemory(process_, memory_ + offset, data, size, nullptr);
  }
  void Read(SIZE_T offset, void* data, SIZE_T size) {
    ReadProcessMemory(process_, memory_ + offset, data, size, nullptr);
  }
  // A rectangle the control writes at 0, in screen coordinates; `in` seeds it.
  RECT ScreenRect(HWND control, UINT message, WPARAM item, RECT in = {}) {
    Write(0, &in, sizeof in);
    SendMessageW(control, message, item, At(0));
    Read(0, &in, sizeof in);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&in), 2);
    return in;
  }
  // A text the control writes at 1024 when given a structure at 512 that points there.
  template <typename Item>
  std::string Text(HWND control, UINT message, WPARAM index, Item item) {
    wchar_t text[1001] = {};
    item.pszText = reinterpret_cast<LPWSTR>(At(1024));
    item.cchTextMax = 1000;
    Write(1024, text, sizeof text);
    Write(512, &item, sizeof item);
    SendMessageW(control, message, index, At(512));
    Read(1024, text, 1000 * sizeof(wchar_t));
    return Utf8(text);
  }

 private:
  HANDLE process_ = nullptr;
  char* memory_ = nullptr;
};

// A tab control's count, selection and rows, then each tab's screen rectangle and caption: the
// strip's, or that of the visible window with the title.
int Tabs(HWND top) {
  const HWND tab = top ? First(Find(top, WC_TABCONTROLA)) : nullptr;
  Remote remote(tab);
  if (!tab || !remote.ok()) return 1;
  const auto count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
  std::printf("count=%d selected=%d rows=%d\n", count,
              static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0)) + 1,
              static_cast<int>(SendMessageW(tab, TCM_GETROWCOUNT, 0, 0)));
  for (int i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    const std::string caption = remote.Text(tab, TCM_GETITEMW, i, item);
    std::printf("tab=%d %s caption=%s\n", i + 1, Rect(remote.ScreenRect(tab, TCM_GETITEMRECT, i)).c_str(),
                caption.c_str());
  }
  return 0;
}

// The report-mode list view of a window that has the given number of columns: its rectangle,
// then its rows with their cells separated by '|'.
int ListView(HWND top, int columns) {
  for (HWND list : Find(top, WC_LISTVIEWA)) {
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (!header || SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) != columns) continue;
    Remote remote(list);
    if (!remote.ok()) return 1;
    const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    RECT frame{};
    GetWindowRect(list, &frame);
    std::printf("rows=%d %s\n", rows, Rect(frame).c_str());
    for (int row = 0; row < rows; ++row) {
      std::string line;
      for (int column = 0; column < columns; ++column) {
        LVITEMW item{};
        item.iSubItem = column;
        line += (column ? "|" : "") + remote.Text(list, LVM_GETITEMTEXTW, row, item);
      }
      std::printf("row=%d %s text=%s\n", row,
                  Rect(remote.ScreenRect(list, LVM_GETITEMRECT, row, {LVIR_BOUNDS, 0, 0, 0})).c_str(),
                  line.c_str());
    }
    return 0;
  }
  return 1;
}

// The labels whose text does not fit them, laid out word-wrapped at their width in the dialog's
// label font at the system's DPI (8.25-point bold MS Sans Serif): one line each, and their count.
int ClippedLabels(HWND top) {
  SetProcessDPIAware();
  const HDC screen = GetDC(nullptr);
  const HFONT font = CreateFontW(-MulDiv(11, GetDeviceCaps(screen, LOGPIXELSY), 96), 0, 0, 0, FW_BOLD, FALSE,
                                 FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
  const HGDIOBJ old = SelectObject(screen, font);
  int clipped = 0;
  for (HWND label : Find(top, "Static", nullptr, 0, true)) {
    const std::wstring text = WideText(label);
    RECT box{};
    GetClientRect(label, &box);
    RECT needed{0, 0, box.right, 0};
    DrawTextW(screen, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    if (text.empty() || (needed.bottom <= box.bottom && needed.right <= box.right)) continue;
    std::printf("clipped w=%ld h=%ld needs w=%ld h=%ld text=%s\n", box.right, box.bottom, needed.right,
                needed.bottom, Utf8(text).c_str());
    ++clipped;
  }
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  return clipped;
}

// Browser windows played by this process: stand-in frames (IEFrame and the like) announced to the
// stand-in shell or, copied to a browser's name (msedge.exe, chrome.exe, firefox.exe; code.exe is
// no browser), today's browsers: they raise the window events Wine leaves out, show an MSAA tree
// shaped like the browser's (an address field in a toolbar beside a web document with a field of
// its own), close as Chromium does, and log to <exe>.log what they are asked to do.
std::wstring Exe() { return ModulePath(nullptr); }
const bool asBrowser = Exe().find(L"wtool.exe") == std::wstring::npos;
bool hang = false;  // the first request for the tree waits 10 s: a browser that stopped answering
int open = 0;

void Log(const std::string& line) { AppendLine(Exe() + L".log", line); }
void Raise(HWND window, DWORD event) {
  if (asBrowser) NotifyWinEvent(event, window, OBJID_WINDOW, CHILDID_SELF);
}

constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
HRESULT NotImplemented(const char*) { return E_NOTIMPL; }

// One element; its value is the text of `field` where there is one. Elements live as long as
// their window, so reference counts are kept for form only.
class Element final : public IAccessible {
 public:
  Element(LONG role, const wchar_t* value, HWND field = nullptr, const ULONGLONG* asked = nullptr)
      : role_(role), value_(value), field_(field), asked_(asked) {}
  std::vector<Element*> children;

 private:
  LONG role_;
  const wchar_t* value_;
  HWND field_;
  const ULONGLONG* asked_;

 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIidAccessible) ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    *count = static_cast<LONG>(children.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** out) override {
    *out = nullptr;
    if (id.vt != VT_I4 || id.lVal < 1 || id.lVal > static_cast<LONG>(children.size())) return E_INVALIDARG;
    *out = children[static_cast<size_t>(id.lVal - 1)];
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* out) override {
    const std::wstring text = field_ ? WideText(field_) : value_ ? value_ : L"";
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    // From the request for the tree to the address's value: the read as the browser sees it.
    if (asked_) Log("read ms=" + std::to_string(GetTickCount64() - *asked_));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT, VARIANT* out) override {
    out->vt = VT_I4;
    out->lVal = role_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT, VARIANT* out) override {
    out->vt = VT_I4;
    out->lVal = 0;
    return S_OK;
  }
  // clang-format off
  EARLY_BOUND
  NOT_IMPLEMENTED(get_accParent, IDispatch**) NOT_IMPLEMENTED(get_accName, VARIANT, BSTR*)
  NOT_IMPLEMENTED(get_accDescription, VARIANT, BSTR*) NOT_IMPLEMENTED(get_accHelp, VARIANT, BSTR*)
  NOT_IMPLEMENTED(get_accHelpTopic, BSTR*, VARIANT, LONG*) NOT_IMPLEMENTED(get_accKeyboardShortcut, VARIANT, BSTR*)
  NOT_IMPLEMENTED(get_accFocus, VARIANT*) NOT_IMPLEMENTED(get_accSelection, VARIANT*)
  NOT_IMPLEMENTED(get_accDefaultAction, VARIANT, BSTR*) NOT_IMPLEMENTED(accSelect, LONG, VARIANT)
  NOT_IMPLEMENTED(accLocation, LONG*, LONG*, LONG*, LONG*, VARIANT) NOT_IMPLEMENTED(accNavigate, LONG, VARIANT, VARIANT*)
  NOT_IMPLEMENTED(accHitTest, LONG, LONG, VARIANT*) NOT_IMPLEMENTED(accDoDefaultAction, VARIANT)
  NOT_IMPLEMENTED(put_accName, VARIANT, BSTR) NOT_IMPLEMENTED(put_accValue, VARIANT, BSTR)
  // clang-format on
};

struct Window {
  ULONGLONG asked = 0;
  Element client{ROLE_SYSTEM_CLIENT, nullptr};
  Element document{ROLE_SYSTEM_DOCUMENT, L"https://page.example.org/"};
  Element pageField{ROLE_SYSTEM_TEXT, L"a field of the page"};
  Element toolbar{ROLE_SYSTEM_TOOLBAR, nullptr};
  Element address;
  explicit Window(HWND field) : address(ROLE_SYSTEM_TEXT, nullptr, field, &asked) {
    client.children = {&document, &toolbar};
    document.children = {&pageField};
    toolbar.children = {&address};
  }
};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_GETOBJECT:
      if (!asBrowser || static_cast<LONG>(lParam) != OBJID_CLIENT || !self) break;
      self->asked = GetTickCount64();
      if (hang) {
        hang = false;
        Log("hang");
        Sleep(10000);
      }
      return LresultFromObject(kIidAccessible, wParam, &self->client);
    case WM_APPCOMMAND:
      if (!asBrowser) break;
      Log("appcommand " + std::to_string(GET_APPCOMMAND_LPARAM(lParam)) + " " + Decimal(window));
      return TRUE;
    case WM_CLOSE:  // As Chromium does: hidden at once, gone a moment later.
      if (!asBrowser) break;
      Log("close " + Decimal(window));
      ShowWindow(window, SW_HIDE);
      Raise(window, EVENT_OBJECT_HIDE);
      SetTimer(window, 1, 300, nullptr);
      return 0;
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      Raise(window, EVENT_OBJECT_NAMECHANGE);
      return result;
    }
    case WM_DESTROY:
      Announce(window, false);
      Raise(window, EVENT_OBJECT_DESTROY);
      delete self;
      if (--open == 0) PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void Show(HWND window) {
  ShowWindow(window, SW_SHOW);
  Raise(window, EVENT_OBJECT_SHOW);
}

// A browser window of the class: the page title as caption, an address field, its own extended
// style; shown unless its browser object is to show it. Only the shell's classes are announced.
HWND Open(const std::string& className, const std::string& title, const std::string& address,
          bool show = true, DWORD exStyle = 0) {
  const std::wstring wideClass = Wide(className);
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = wideClass.c_str();
  RegisterClassW(&wc);  // fails harmlessly for the second window of the class
  const HWND window = CreateWindowExW(exStyle, wideClass.c_str(), Wide(title).c_str(), WS_OVERLAPPEDWINDOW,
                                      100, 100, 500, 300, nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return nullptr;
  const HWND field = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                     4, 4, 400, 22, window, nullptr, wc.hInstance, nullptr);
  SendMessageW(field, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);  // 30,000 characters unless told
  SetWindowTextW(field, Wide(address).c_str());
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new Window(field)));
  ++open;
  if (show) Show(window);
  if (IsShellClass(className)) Announce(window, true);
  return window;
}

// Delivers this process's messages for `ms`, or until its last window has gone when `ms` is 0.
int Pump(DWORD ms = 0) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (ULONGLONG now = GetTickCount64(); ms ? now < end : open > 0; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms ? static_cast<DWORD>(end - now) : INFINITE, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}

std::string Numbered(std::string text, int n) {
  for (size_t at; (at = text.find('#')) != std::string::npos;) text.replace(at, 1, std::to_string(n));
  return text;
}

int StripTabCount() {
  const HWND tab = Strip() ? First(Find(Strip(), WC_TABCONTROLA)) : nullptr;
  DWORD_PTR count = 0;
  if (!tab || !SendMessageTimeoutW(tab, TCM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return -1;
  return static_cast<int>(count);
}

// Opens `count` windows of the class one after the other and prints how long each took to get
// its tab. A first window, not timed, lets the program finish starting up.
int TimeToTab(int count, double seconds, const std::string& className) {
  std::vector<HWND> windows;
  for (int i = 0; i <= count; ++i) {
    const int before = StripTabCount();
    const ULONGLONG start = GetTickCount64();
    windows.push_back(Open(className, Numbered("Timed #", i), Numbered("http://timed#.example.org/", i), true,
                           asBrowser ? 0 : WS_EX_APPWINDOW));
    while (StripTabCount() != before + 1) {
      if (GetTickCount64() - start > static_cast<ULONGLONG>(seconds * 1000)) return std::puts("timeout"), 1;
      Pump(5);
    }
    if (i > 0) std::printf("ms=%llu\n", GetTickCount64() - start);
    // The next window opens after the pass has ended: its last steps select the new tab and
    // bring the strip to the foreground.
    const HWND tab = First(Find(Strip(), WC_TABCONTROLA));
    while (!(SendMessageW(tab, TCM_GETCURSEL, 0, 0) == before && GetForegroundWindow() == Strip()) &&
           GetTickCount64() - start < static_cast<ULONGLONG>(seconds * 1000))
      Pump(5);
  }
  for (HWND window : windows) DestroyWindow(window);
  return 0;
}

// The texts of a message box: its static controls that hold text.
std::string BoxText(HWND box) {
  std::string text;
  for (HWND label : Find(box, "Static")) text += TextOf(label);
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return text;
}

DWORD Pid(const std::string& text) { return static_cast<DWORD>(std::atol(text.c_str())); }

int Run(const std::vector<std::string>& a) {
  const std::string& command = a[1];
  auto arg = [&](size_t i) { return i < a.size() ? a[i] : std::string(); };
  auto seconds = [&](size_t i) { return i < a.size() ? std::atof(a[i].c_str()) : 60.0; };
  auto title = [&](size_t i) { return i < a.size() ? a[i].c_str() : nullptr; };

  if (command == "keep") {  // keeps the virtual desktop open: Wine closes it with its last program
    CreateWindowExW(0, L"Static", L"keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    return ++open, Pump();
  }
  if (command == "workarea") {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom), 0;
  }
  if (command == "announce-workarea") {  // as the system does when a taskbar moves (Wine 8 does not)
    // To every top-level window but Wine's taskbar, which would answer by setting its own again.
    DWORD_PTR ignored = 0;
    for (HWND window : Find(nullptr, ""))
      if (ClassOf(window) != "Shell_TrayWnd")
        SendMessageTimeoutW(window, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    return 0;
  }
  if (command == "wait-window") {  // class pid timeout [title]: the first visible one
    const ULONGLONG start = GetTickCount64();
    std::vector<HWND> found;
    if (!WaitFor(seconds(4),
                 [&] { return !(found = Find(nullptr, a[2], title(5), Pid(a[3]), true)).empty(); }))
      return std::puts("timeout"), 1;
    std::printf("ms=%llu ", GetTickCount64() - start);
    return PrintWindow(found[0]), 0;
  }
  if (command == "wait-gone")  // class timeout [title]: no visible window of the class is left
    return WaitFor(seconds(3), [&] { return Find(nullptr, a[2], title(4), 0, true).empty(); }) ? 0 : 1;
  if (command == "list") {  // class|"" [pid]: every top-level window of the class (of the process)
    for (HWND window : Find(nullptr, a[2], nullptr, Pid(arg(3)))) PrintWindow(window);
    return 0;
  }
  if (command == "answer") {  // title button-id timeout [text]: prints a box's text, fills its field, presses
    HWND box = nullptr;
    if (!WaitFor(seconds(4), [&] { return (box = First(Find(nullptr, "#32770", a[2].c_str(), 0, true))); }))
      return std::puts("timeout"), 1;
    std::printf("%s\n", BoxText(box).c_str());
    if (a.size() > 5)
      SendMessageW(First(Find(box, "Edit")), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(a[5]).c_str()));
    const int id = std::atoi(a[3].c_str());
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    return WaitFor(seconds(4), [&] { return !IsWindow(box) || !IsWindowVisible(box); }) ? 0 : 1;
  }
  if (command == "close") {  // class [title]: asks every such window to close
    for (HWND window : Find(nullptr, a[2], title(3))) PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == "post") {  // class message|registered-name wparam lparam: to the first such window
    const HWND window = First(Find(nullptr, a[2]));
    const UINT message = std::isdigit(static_cast<unsigned char>(a[3][0]))
                             ? static_cast<UINT>(std::strtoul(a[3].c_str(), nullptr, 0))
                             : RegisterWindowMessageA(a[3].c_str());
    return window && PostMessageW(window, message, std::strtoull(a[4].c_str(), nullptr, 0),
                                  std::strtoll(a[5].c_str(), nullptr, 0))
               ? 0
               : 1;
  }
  if (command == "tabs") return Tabs(a.size() > 2 ? Visible(a[2]) : Strip());          // [window-title]
  if (command == "listview") return ListView(Visible(a[2]), std::atoi(a[3].c_str()));  // window-title columns
  if (command == "controls") {  // window-title: every visible control with its screen rectangle
    const HWND top = Visible(a[2]);
    for (HWND child : top ? Find(top, "", nullptr, 0, true) : std::vector<HWND>()) {
      RECT r{};
      GetWindowRect(child, &r);
      std::printf("id=%d %s enabled=%d class=%s text=%s\n", GetDlgCtrlID(child), Rect(r).c_str(),
                  IsWindowEnabled(child) ? 1 : 0, ClassOf(child).c_str(), TextOf(child).c_str());
    }
    return top ? 0 : 1;
  }
  if (command == "clipped") return Visible(a[2]) ? ClippedLabels(Visible(a[2])) : 1;  // window-title
  if (command == "settext") {  // window-title n|title text: into its nth visible edit field, or its title
    const HWND top = Visible(a[2]);
    const auto fields = top ? Find(top, "Edit", nullptr, 0, true) : std::vector<HWND>();
    const auto n = static_cast<size_t>(std::atoi(a[3].c_str()));
    const HWND target = a[3] == "title" ? top : n < fields.size() ? fields[n] : nullptr;
    DWORD_PTR ignored = 0;
    return target && SendMessageTimeoutW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(a[4]).c_str()),
                                         SMTO_ABORTIFHUNG, 5000, &ignored)
               ? 0
               : 1;
  }
  if (command == "showwindow")
    return Visible(a[2]) ? (ShowWindow(Visible(a[2]), std::atoi(a[3].c_str())), 0) : 1;
  if (command == "move") {  // class title x y width height: moves a window, as its user might
    const HWND window = First(Find(nullptr, a[2], a[3].c_str()));
    return window && SetWindowPos(window, nullptr, std::atoi(a[4].c_str()), std::atoi(a[5].c_str()),
                                  std::atoi(a[6].c_str()), std::atoi(a[7].c_str()),
                                  SWP_NOZORDER | SWP_NOACTIVATE)
               ? 0
               : 1;
  }
  if (command == "foreground") {
    if (GetForegroundWindow()) PrintWindow(GetForegroundWindow());
    return 0;
  }
  if (command == "focus") {  // the class and text of the window with the keyboard focus
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(0, &info) || !info.hwndFocus) return 1;
    return std::printf("class=%s text=%s\n", ClassOf(info.hwndFocus).c_str(), TextOf(info.hwndFocus).c_str()),
           0;
  }
  if (command ==
      "click-front") {  // title timeout: clicks where the pointer is; ms until the window is in front
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    const ULONGLONG start = GetTickCount64();
    SendInput(2, clicks, sizeof(INPUT));
    if (!WaitFor(seconds(3), [&] { return TextOf(GetForegroundWindow()) == a[2]; })) return 1;
    return std::printf("ms=%llu\n", GetTickCount64() - start), 0;
  }
  if (command == "start") {  // exe folder: starts a program and prints its process id
    const PROCESS_INFORMATION process = Start(L"\"" + Wide(a[2]) + L"\"", Wide(a[3]));
    if (!process.hProcess) return std::printf("error=%lu\n", GetLastError()), 1;
    std::printf("pid=%lu\n", process.dwProcessId);
    return CloseHandle(process.hProcess), 0;
  }
  if (command == "wait-exit") {  // pid timeout: prints the exit code once the process has ended
    const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, Pid(a[2]));
    if (!process) return std::puts("gone"), 0;
    const DWORD wait = WaitForSingleObject(process, static_cast<DWORD>(seconds(3) * 1000));
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    if (wait != WAIT_OBJECT_0) return std::puts("running"), 1;
    return std::printf("exit=%lu\n", code), 0;
  }
  if (command == "kill") {  // pid: ends the process and waits until it has gone
    // Without SYNCHRONIZE the wait fails at once, and the next program may meet this one.
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, Pid(a[2]));
    if (!process) return 0;
    TerminateProcess(process, 9);
    WaitForSingleObject(process, 60000);
    return CloseHandle(process), 0;
  }
  if (command == "crash") {  // pid: a thread of that process runs code at an address that holds none
    const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, Pid(a[2]));
    const HANDLE thread =
        process ? CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(0x10),
                                     nullptr, 0, nullptr)
                : nullptr;
    if (thread) CloseHandle(thread);
    if (process) CloseHandle(process);
    return thread ? 0 : 1;
  }
  if (command == "procs") {  // exe-name: the process id and parent of every running process of that name
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
      if (lstrcmpiA(entry.szExeFile, a[2].c_str()) == 0)
        std::printf("pid=%lu parent=%lu\n", entry.th32ProcessID, entry.th32ParentProcessID);
    return CloseHandle(snapshot), 0;
  }
  if (command == "frame") {  // class title url [hidden|exstyle]: a stand-in browser window
    const DWORD exStyle =
        arg(5).empty() || arg(5) == "hidden" ? WS_EX_APPWINDOW : std::strtoul(a[5].c_str(), nullptr, 0);
    return Open(a[2], a[3], a[4], arg(5) != "hidden", exStyle) ? Pump() : 1;
  }
  if (command == "frames") {  // class count title address [first-late|hang]: '#' is the window's number
    // All are made first, then shown together: a burst of arrivals.
    hang = arg(6) == "hang";
    std::vector<HWND> windows;
    for (int i = 1; i <= std::atoi(a[3].c_str()); ++i)
      windows.push_back(
          Open(a[2], Numbered(a[4], i), Numbered(a[5], i), false, asBrowser ? 0 : WS_EX_APPWINDOW));
    for (HWND window : windows) Show(window);
    // The first window comes forward last, as when a busy desktop activates it late.
    if (arg(6) == "first-late" && !windows.empty())
      SetWindowPos(windows[0], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return Pump();
  }
  if (command == "time-to-tab")  // count timeout [class]
    return TimeToTab(std::atoi(a[2].c_str()), seconds(3), a.size() > 4 ? a[4] : "IEFrame");
  std::fprintf(stderr, "usage: wtool <command> ...\n");
  return 2;
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);
  args.resize(std::max<size_t>(args.size(), 2));
  if (args[1].empty() || args[1][0] != '-') return Run(args);
  // Started as a browser, to open sites: "--new-window URL..." or "-new-window URL". The command
  // line is logged; each site opens in a window of its own, titled with its address.
  Log("started " + Utf8(GetCommandLineW()));
  for (size_t i = 1; i < args.size(); ++i)
    if (args[i][0] != '-')
      Open(Exe().find(L"firefox") != std::wstring::npos ? "MozillaWindowClass" : "Chrome_WidgetWin_1",
           args[i], args[i]);
  return Pump();
}

// A stand-in for the Windows shell in the Wine tests, loaded in process by the program under test:
// the shell's window collection (CLSID_ShellWindows: IShellWindows with its DShellWindowsEvents
// connection point) and "InternetExplorer.Application" (CLSID_InternetExplorer: IWebBrowser2),
// over the top-level browser and folder windows of other processes. Every call it receives is
// appended to standin.log beside the DLL, so that tests can see what the program asked of it.
//
// Browser windows announce their arrival and departure with a message to the shell's hidden
// window (announce.h); the shell raises WindowRegistered and WindowRevoked from there, on the
// thread that created it, after the program's own message loop has delivered the message.
// Nothing here runs while no browser comes or goes.
#include <windows.h>
// After windows.h:
#include <exdisp.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "announce.h"

namespace {

std::string Narrow(const wchar_t* text, int length) {
  if (!text || length <= 0) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, length, narrow.data(), size, nullptr, nullptr);
  return narrow;
}

std::string Narrow(BSTR text) { return Narrow(text, text ? static_cast<int>(::SysStringLen(text)) : 0); }

BSTR Bstr(const std::wstring& text) {
  return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// A window's whole text, however long: a browser reports its whole address.
std::wstring WideText(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied)) {
    return {};
  }
  text.resize(std::min<size_t>(copied, text.size() - 1));
  return text;
}

std::string Decimal(HWND window) { return std::to_string(reinterpret_cast<LONG_PTR>(window)); }

bool IsBrowserClass(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return ::lstrcmpiA(name, "IEFrame") == 0 || ::lstrcmpiA(name, "CabinetWClass") == 0;
}

HMODULE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

// The folder of this DLL, which also holds the test tool that plays the browsers.
std::string ModuleFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(ThisModule(), path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\'));
}

// One line per call, appended and closed at once so that a reader always sees whole lines.
class CallLog {
 public:
  explicit CallLog(std::string path) : path_(std::move(path)) {}
  void Write(const std::string& line) const {
    const HANDLE file =
        ::CreateFileA(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\n";
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
  }

 private:
  std::string path_;
};

// Reference counting shared by every object of the shell.
template <typename Derived>
class RefCounted {
 public:
  virtual ~RefCounted() = default;
  ULONG AddRefImpl() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
  ULONG ReleaseImpl() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 private:
  LONG references_ = 1;
};

#define STANDIN_REFCOUNT                                             \
  ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); } \
  ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

// The shell's state: the registered browser windows in the order they arrived, and the sinks
// advised on any of its collections. One per process, made by the first object asked for, on
// the program's thread, which then receives the browsers' announcements.
class ShellState {
 public:
  static ShellState& Get() {
    static ShellState* state = new ShellState();  // lives as long as the process: see DllCanUnloadNow
    return *state;
  }

  void Log(const std::string& line) const { log_.Write(line); }

  // The registered windows still open. A window that went without a word is dropped, and its
  // revocation raised later, as for an announced departure.
  std::vector<HWND> Windows() {
    std::vector<HWND> windows;
    for (const Entry& entry : entries_) {
      if (::IsWindow(entry.window)) {
        windows.push_back(entry.window);
      } else {
        ::PostMessageA(window_, announce_, reinterpret_cast<WPARAM>(entry.window), 0);
      }
    }
    return windows;
  }

  // Collections made before the shell last restarted answer nothing more, as a dead shell's.
  unsigned Generation() const { return generation_; }

  DWORD Advise(IDispatch* sink) {
    sink->AddRef();
    sinks_[nextSink_] = sink;
    return nextSink_++;
  }
  bool Unadvise(DWORD cookie) {
    const auto found = sinks_.find(cookie);
    if (found == sinks_.end()) return false;
    IDispatch* sink = found->second;
    sinks_.erase(found);
    sink->Release();
    return true;
  }

  // "InternetExplorer.Application": a new, still hidden browser window in a process of its own,
  // registered at once; the program hears of it like of any other arrival.
  HWND StartBrowser() {
    std::string line = "\"" + folder_ + "\\wtool.exe\" frame IEFrame \"\" \"\" hidden";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                          &startup, &process)) {
      return nullptr;
    }
    ::CloseHandle(process.hThread);
    ::WaitForInputIdle(process.hProcess, 10000);
    HWND found = nullptr;
    // The window exists once the process waits for input; the loop only covers a slow start.
    const ULONGLONG end = ::GetTickCount64() + 10000;
    while (!(found = BrowserOf(process.dwProcessId)) && ::GetTickCount64() < end) ::Sleep(20);
    ::CloseHandle(process.hProcess);
    if (found) Arrived(found, /*raiseLater=*/true);
    return found;
  }

 private:
  struct Entry {
    HWND window;
    LONG cookie;
  };
  static constexpr UINT kRaiseRegistered = WM_APP + 1;  // wParam: the window, lParam: its cookie
  static constexpr UINT kRestart = WM_APP + 2;          // the shell ends and starts again
  static constexpr DISPID kWindowRegistered = 200;
  static constexpr DISPID kWindowRevoked = 201;

  ShellState() : log_(ModuleFolder() + "\\standin.log"), folder_(ModuleFolder()) {
    announce_ = standin::AnnounceMessage();
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ShellState::WindowProc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = standin::kShellWindowClass;
    ::RegisterClassA(&wc);
    // A hidden top-level window, so that browsers in other processes find it by its class.
    window_ = ::CreateWindowExA(0, standin::kShellWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                ThisModule(), nullptr);
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Browsers that were open before the shell started, oldest first: a new window opens on top.
    std::vector<HWND> open;
    ::EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
          DWORD pid = 0;
          ::GetWindowThreadProcessId(window, &pid);
          if (pid != ::GetCurrentProcessId() && IsBrowserClass(window)) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&open));
    for (auto window = open.rbegin(); window != open.rend(); ++window)
      entries_.push_back({*window, nextCookie_++});
    Log("start windows=" + std::to_string(entries_.size()));
  }

  static HWND BrowserOf(DWORD pid) {
    struct Query {
      DWORD pid;
      HWND found;
    } query{pid, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
          auto& q = *reinterpret_cast<Query*>(param);
          DWORD owner = 0;
          ::GetWindowThreadProcessId(window, &owner);
          // The browser is ready once its address field exists: its window comes first.
          if (owner != q.pid || !IsBrowserClass(window) ||
              !::FindWindowExA(window, nullptr, "Edit", nullptr)) {
            return TRUE;
          }
          q.found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<ShellState*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!state) return ::DefWindowProcA(window, message, wParam, lParam);  // still being made
    ShellState& shell = *state;
    const HWND browser = reinterpret_cast<HWND>(wParam);
    if (message == shell.announce_ && shell.announce_ != 0) {
      if (lParam) {
        shell.Arrived(browser, /*raiseLater=*/false);
      } else {
        shell.Departed(browser);
      }
      return 0;
    }
    if (message == kRestart) {
      // Every subscription ends with the old shell; the windows stay registered.
      for (const auto& [id, sink] : shell.sinks_) sink->Release();
      shell.sinks_.clear();
      ++shell.generation_;
      shell.Log("restart");
      return 0;
    }
    if (message == kRaiseRegistered) {
      shell.Raise(kWindowRegistered, static_cast<LONG>(lParam), browser);
      return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  }

  void Arrived(HWND browser, bool raiseLater) {
    const auto known =
        std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.window == browser; });
    if (known != entries_.end() || !::IsWindow(browser)) return;
    const LONG cookie = nextCookie_++;
    entries_.push_back({browser, cookie});
    if (raiseLater) {
      ::PostMessageA(window_, kRaiseRegistered, reinterpret_cast<WPARAM>(browser), cookie);
    } else {
      Raise(kWindowRegistered, cookie, browser);
    }
  }

  void Departed(HWND browser) {
    const auto known =
        std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.window == browser; });
    if (known == entries_.end()) return;
    const LONG cookie = known->cookie;
    entries_.erase(known);
    Raise(kWindowRevoked, cookie, browser);
  }

  // Calls every advised sink; a sink may unadvise, or advise others, while it is called.
  void Raise(DISPID event, LONG cookie, HWND browser) {
    std::vector<IDispatch*> sinks;
    for (const auto& [id, sink] : sinks_) {
      sink->AddRef();
      sinks.push_back(sink);
    }
    Log(std::string("raise ") + (event == kWindowRegistered ? "WindowRegistered " : "WindowRevoked ") +
        std::to_string(cookie) + " " + Decimal(browser) + " sinks=" + std::to_string(sinks.size()) +
        " ms=" + std::to_string(::GetTickCount64()));
    for (IDispatch* sink : sinks) {
      VARIANT argument;
      ::VariantInit(&argument);
      argument.vt = VT_I4;
      argument.lVal = cookie;
      DISPPARAMS params{&argument, nullptr, 1, 0};
      sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
      sink->Release();
    }
  }

  CallLog log_;
  std::string folder_;
  UINT announce_ = 0;
  HWND window_ = nullptr;
  std::vector<Entry> entries_;
  unsigned generation_ = 0;
  std::map<DWORD, IDispatch*> sinks_;
  DWORD nextSink_ = 1;
  LONG nextCookie_ = 1;
};

// IDispatch for objects the program calls through their own members only: no type information
// and no late-bound calls, each refusal logged as the object logs its other members.
template <typename Interface, typename Object>
class EarlyBound : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return Refuse("GetTypeInfo"); }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return Refuse("GetIDsOfNames");
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return Refuse("Invoke");
  }

 private:
  HRESULT Refuse(const char* member) const { return static_cast<const Object*>(this)->Unimplemented(member); }
};

// The automation object of one browser window.
class Browser final : public EarlyBound<IWebBrowser2, Browser>, private RefCounted<Browser> {
 public:
  // A browser the shell started says when the last reference to it goes.
  explicit Browser(HWND window, bool started = false) : window_(window), started_(started) {}
  ~Browser() override {
    if (started_) Log("released");
  }
  STANDIN_REFCOUNT

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IWebBrowser) ||
        IsEqualIID(iid, IID_IWebBrowserApp) || IsEqualIID(iid, IID_IWebBrowser2)) {
      *out = static_cast<IWebBrowser2*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }

  HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* window) override {
    Log("get_HWND");
    if (!window) return E_POINTER;
    if (!::IsWindow(window_)) return Gone(window);
    *window = reinterpret_cast<SHANDLE_PTR>(window_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* name) override {
    Log("get_LocationName");
    if (!name) return E_POINTER;
    if (!::IsWindow(window_)) return Gone(name);
    *name = Bstr(WideText(window_));
    return S_OK;
  }
  // The address field: the window's first edit field.
  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* url) override {
    Log("get_LocationURL");
    if (!url) return E_POINTER;
    if (!::IsWindow(window_)) return Gone(url);
    const HWND address = ::FindWindowExA(window_, nullptr, "Edit", nullptr);
    *url = Bstr(address ? WideText(address) : std::wstring());
    return S_OK;
  }
  // Loading is instant: the address field and the title become the URL.
  HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
    Log("Navigate " + Narrow(url));
    if (!::IsWindow(window_)) return E_FAIL;
    const wchar_t* text = url ? url : L"";
    DWORD_PTR ignored = 0;
    if (const HWND address = ::FindWindowExA(window_, nullptr, "Edit", nullptr)) {
      ::SendMessageTimeoutW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                            &ignored);
    }
    ::SendMessageTimeoutW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                          &ignored);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Refresh() override { return Acted("Refresh"); }
  HRESULT STDMETHODCALLTYPE Stop() override { return Acted("Stop"); }
  HRESULT STDMETHODCALLTYPE Quit() override {
    Log("Quit");
    if (!::IsWindow(window_)) return E_FAIL;
    return ::PostMessageA(window_, WM_CLOSE, 0, 0) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* visible) override {
    Log("get_Visible");
    if (!visible) return E_POINTER;
    *visible = ::IsWindowVisible(window_) ? VARIANT_TRUE : VARIANT_FALSE;
    return ::IsWindow(window_) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL visible) override {
    Log(std::string("put_Visible ") + (visible ? "true" : "false"));
    if (!::IsWindow(window_)) return E_FAIL;
    ::ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
    return S_OK;
  }

  // The rest of the automation interface is not used by the program; a call shows in the log.
  HRESULT STDMETHODCALLTYPE GoBack() override { return Unimplemented("GoBack"); }
  HRESULT STDMETHODCALLTYPE GoForward() override { return Unimplemented("GoForward"); }
  HRESULT STDMETHODCALLTYPE GoHome() override { return Unimplemented("GoHome"); }
  HRESULT STDMETHODCALLTYPE GoSearch() override { return Unimplemented("GoSearch"); }
  HRESULT STDMETHODCALLTYPE Refresh2(VARIANT*) override { return Unimplemented("Refresh2"); }
  HRESULT STDMETHODCALLTYPE get_Application(IDispatch**) override { return Unimplemented("get_Application"); }
  HRESULT STDMETHODCALLTYPE get_Parent(IDispatch**) override { return Unimplemented("get_Parent"); }
  HRESULT STDMETHODCALLTYPE get_Container(IDispatch**) override { return Unimplemented("get_Container"); }
  HRESULT STDMETHODCALLTYPE get_Document(IDispatch**) override { return Unimplemented("get_Document"); }
  HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL*) override {
    return Unimplemented("get_TopLevelContainer");
  }
  HRESULT STDMETHODCALLTYPE get_Type(BSTR*) override { return Unimplemented("get_Type"); }
  HRESULT STDMETHODCALLTYPE get_Left(LONG*) override { return Unimplemented("get_Left"); }
  HRESULT STDMETHODCALLTYPE put_Left(LONG) override { return Unimplemented("put_Left"); }
  HRESULT STDMETHODCALLTYPE get_Top(LONG*) override { return Unimplemented("get_Top"); }
  HRESULT STDMETHODCALLTYPE put_Top(LONG) override { return Unimplemented("put_Top"); }
  HRESULT STDMETHODCALLTYPE get_Width(LONG*) override { return Unimplemented("get_Width"); }
  HRESULT STDMETHODCALLTYPE put_Width(LONG) override { return Unimplemented("put_Width"); }
  HRESULT STDMETHODCALLTYPE get_Height(LONG*) override { return Unimplemented("get_Height"); }
  HRESULT STDMETHODCALLTYPE put_Height(LONG) override { return Unimplemented("put_Height"); }
  HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL*) override { return Unimplemented("get_Busy"); }
  HRESULT STDMETHODCALLTYPE ClientToWindow(int*, int*) override { return Unimplemented("ClientToWindow"); }
  HRESULT STDMETHODCALLTYPE PutProperty(BSTR, VARIANT) override { return Unimplemented("PutProperty"); }
  HRESULT STDMETHODCALLTYPE GetProperty(BSTR, VARIANT*) override { return Unimplemented("GetProperty"); }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR*) override { return Unimplemented("get_Name"); }
  HRESULT STDMETHODCALLTYPE get_FullName(BSTR*) override { return Unimplemented("get_FullName"); }
  HRESULT STDMETHODCALLTYPE get_Path(BSTR*) override { return Unimplemented("get_Path"); }
  HRESULT STDMETHODCALLTYPE get_StatusBar(VARIANT_BOOL*) override { return Unimplemented("get_StatusBar"); }
  HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL) override { return Unimplemented("put_StatusBar"); }
  HRESULT STDMETHODCALLTYPE get_StatusText(BSTR*) override { return Unimplemented("get_StatusText"); }
  HRESULT STDMETHODCALLTYPE put_StatusText(BSTR) override { return Unimplemented("put_StatusText"); }
  HRESULT STDMETHODCALLTYPE get_ToolBar(int*) override { return Unimplemented("get_ToolBar"); }
  HRESULT STDMETHODCALLTYPE put_ToolBar(int) override { return Unimplemented("put_ToolBar"); }
  HRESULT STDMETHODCALLTYPE get_MenuBar(VARIANT_BOOL*) override { return Unimplemented("get_MenuBar"); }
  HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL) override { return Unimplemented("put_MenuBar"); }
  HRESULT STDMETHODCALLTYPE get_FullScreen(VARIANT_BOOL*) override { return Unimplemented("get_FullScreen"); }
  HRESULT STDMETHODCALLTYPE put_FullScreen(VARIANT_BOOL) override { return Unimplemented("put_FullScreen"); }
  HRESULT STDMETHODCALLTYPE Navigate2(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
    return Unimplemented("Navigate2");
  }
  HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID, OLECMDF*) override {
    return Unimplemented("QueryStatusWB");
  }
  HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override {
    return Unimplemented("ExecWB");
  }
  HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) override {
    return Unimplemented("ShowBrowserBar");
  }
  HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE*) override { return Unimplemented("get_ReadyState"); }
  HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL*) override { return Unimplemented("get_Offline"); }
  HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL) override { return Unimplemented("put_Offline"); }
  HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL*) override { return Unimplemented("get_Silent"); }
  HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL) override { return Unimplemented("put_Silent"); }
  HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL*) override {
    return Unimplemented("get_RegisterAsBrowser");
  }
  HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL) override {
    return Unimplemented("put_RegisterAsBrowser");
  }
  HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL*) override {
    return Unimplemented("get_RegisterAsDropTarget");
  }
  HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL) override {
    return Unimplemented("put_RegisterAsDropTarget");
  }
  HRESULT STDMETHODCALLTYPE get_TheaterMode(VARIANT_BOOL*) override {
    return Unimplemented("get_TheaterMode");
  }
  HRESULT STDMETHODCALLTYPE put_TheaterMode(VARIANT_BOOL) override {
    return Unimplemented("put_TheaterMode");
  }
  HRESULT STDMETHODCALLTYPE get_AddressBar(VARIANT_BOOL*) override { return Unimplemented("get_AddressBar"); }
  HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL) override { return Unimplemented("put_AddressBar"); }
  HRESULT STDMETHODCALLTYPE get_Resizable(VARIANT_BOOL*) override { return Unimplemented("get_Resizable"); }
  HRESULT STDMETHODCALLTYPE put_Resizable(VARIANT_BOOL) override { return Unimplemented("put_Resizable"); }

 private:
  friend class RefCounted<Browser>;
  friend class EarlyBound<IWebBrowser2, Browser>;

  void Log(const std::string& member) const {
    const auto space = member.find(' ');
    ShellState::Get().Log(space == std::string::npos
                              ? member + " " + Decimal(window_)
                              : member.substr(0, space) + " " + Decimal(window_) + member.substr(space));
  }
  HRESULT Acted(const char* member) const {
    Log(member);
    return ::IsWindow(window_) ? S_OK : E_FAIL;
  }
  HRESULT Unimplemented(const char* member) const {
    Log(std::string(member) + " E_NOTIMPL");
    return E_NOTIMPL;
  }
  // A closed window's browser object is disconnected, as a dead browser's proxy is on Windows.
  template <typename Out>
  static HRESULT Gone(Out* out) {
    *out = Out{};
    return RPC_E_DISCONNECTED;
  }

  HWND window_;
  bool started_;
};

// VT_DISPATCH items for the windows, in the collection's order.
class WindowEnumerator final : public IEnumVARIANT, private RefCounted<WindowEnumerator> {
 public:
  WindowEnumerator(std::vector<HWND> windows, size_t position)
      : windows_(std::move(windows)), next_(position) {}
  STANDIN_REFCOUNT

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumVARIANT)) {
      *out = static_cast<IEnumVARIANT*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* items, ULONG* fetched) override {
    if (!items) return E_POINTER;
    ULONG given = 0;
    for (; given < wanted && next_ < windows_.size(); ++given, ++next_) {
      ::VariantInit(&items[given]);
      items[given].vt = VT_DISPATCH;
      items[given].pdispVal = new Browser(windows_[next_]);
    }
    if (fetched) *fetched = given;
    ShellState::Get().Log("Next " + std::to_string(wanted) + " => " + std::to_string(given));
    return given == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    ShellState::Get().Log("Skip " + std::to_string(count));
    next_ = std::min(windows_.size(), next_ + count);
    return next_ < windows_.size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    ShellState::Get().Log("Reset");
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
    ShellState::Get().Log("Clone");
    if (!copy) return E_POINTER;
    *copy = new WindowEnumerator(windows_, next_);
    return S_OK;
  }

 private:
  friend class RefCounted<WindowEnumerator>;
  std::vector<HWND> windows_;
  size_t next_;
};

// The collection's one connection point, for DShellWindowsEvents.
class EventsPoint final : public IConnectionPoint, private RefCounted<EventsPoint> {
 public:
  explicit EventsPoint(IConnectionPointContainer* container) : container_(container) { container_->AddRef(); }
  ~EventsPoint() override { container_->Release(); }
  STANDIN_REFCOUNT

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
      *out = static_cast<IConnectionPoint*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = DIID_DShellWindowsEvents;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override {
    if (!container) return E_POINTER;
    *container = container_;
    container_->AddRef();
    return S_OK;
  }
  // As the Windows shell, the sink is asked for the events' own interface.
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    IDispatch* events = nullptr;
    if (FAILED(sink->QueryInterface(DIID_DShellWindowsEvents, reinterpret_cast<void**>(&events))) ||
        !events) {
      ShellState::Get().Log("Advise => CONNECT_E_CANNOTCONNECT");
      return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = ShellState::Get().Advise(events);
    events->Release();
    ShellState::Get().Log("Advise => " + std::to_string(*cookie));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    ShellState::Get().Log("Unadvise " + std::to_string(cookie));
    return ShellState::Get().Unadvise(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override {
    ShellState::Get().Log("EnumConnections E_NOTIMPL");
    return E_NOTIMPL;
  }

 private:
  friend class RefCounted<EventsPoint>;
  IConnectionPointContainer* container_;
};

class ShellWindows final : public EarlyBound<IShellWindows, ShellWindows>,
                           public IConnectionPointContainer,
                           private RefCounted<ShellWindows> {
 public:
  ShellWindows() : generation_(ShellState::Get().Generation()) {
    ShellState::Get().Log("CreateInstance ShellWindows");
  }
  STANDIN_REFCOUNT

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, IID_IShellWindows)) {
      *out = static_cast<IShellWindows*>(this);
    } else if (IsEqualIID(iid, IID_IConnectionPointContainer)) {
      *out = static_cast<IConnectionPointContainer*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    if (!count) return E_POINTER;
    if (Dead()) return Disconnected("get_Count");
    *count = static_cast<LONG>(ShellState::Get().Windows().size());
    ShellState::Get().Log("get_Count => " + std::to_string(*count));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Item(VARIANT index, IDispatch** folder) override {
    if (!folder) return E_POINTER;
    *folder = nullptr;
    if (Dead()) return Disconnected("Item");
    VARIANT number;
    ::VariantInit(&number);
    if (FAILED(::VariantChangeType(&number, &index, 0, VT_I4))) {
      ShellState::Get().Log("Item ? => E_INVALIDARG");
      return E_INVALIDARG;
    }
    const std::vector<HWND> windows = ShellState::Get().Windows();
    if (number.lVal < 0 || static_cast<size_t>(number.lVal) >= windows.size()) {
      ShellState::Get().Log("Item " + std::to_string(number.lVal) + " => none");
      return S_FALSE;
    }
    const HWND window = windows[static_cast<size_t>(number.lVal)];
    ShellState::Get().Log("Item " + std::to_string(number.lVal) + " => " + Decimal(window));
    *folder = new Browser(window);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** enumerator) override {
    if (!enumerator) return E_POINTER;
    if (Dead()) return Disconnected("_NewEnum");
    std::vector<HWND> windows = ShellState::Get().Windows();
    ShellState::Get().Log("_NewEnum => " + std::to_string(windows.size()));
    *enumerator = new WindowEnumerator(std::move(windows), 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Register(IDispatch*, LONG, int, LONG*) override {
    return Unimplemented("Register");
  }
  HRESULT STDMETHODCALLTYPE RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override {
    return Unimplemented("RegisterPending");
  }
  HRESULT STDMETHODCALLTYPE Revoke(LONG) override { return Unimplemented("Revoke"); }
  HRESULT STDMETHODCALLTYPE OnNavigate(LONG, VARIANT*) override { return Unimplemented("OnNavigate"); }
  HRESULT STDMETHODCALLTYPE OnActivated(LONG, VARIANT_BOOL) override { return Unimplemented("OnActivated"); }
  HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT*, VARIANT*, int, LONG*, int, IDispatch**) override {
    return Unimplemented("FindWindowSW");
  }
  HRESULT STDMETHODCALLTYPE OnCreated(LONG, IUnknown*) override { return Unimplemented("OnCreated"); }
  HRESULT STDMETHODCALLTYPE ProcessAttachDetach(VARIANT_BOOL) override {
    return Unimplemented("ProcessAttachDetach");
  }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override {
    return Unimplemented("EnumConnectionPoints");
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (Dead()) return Disconnected("FindConnectionPoint");
    if (!IsEqualIID(iid, DIID_DShellWindowsEvents)) {
      ShellState::Get().Log("FindConnectionPoint => CONNECT_E_NOCONNECTION");
      return CONNECT_E_NOCONNECTION;
    }
    ShellState::Get().Log("FindConnectionPoint DShellWindowsEvents");
    *point = new EventsPoint(this);
    return S_OK;
  }

 private:
  friend class RefCounted<ShellWindows>;
  friend class EarlyBound<IShellWindows, ShellWindows>;
  static HRESULT Unimplemented(const char* member) {
    ShellState::Get().Log(std::string(member) + " E_NOTIMPL");
    return E_NOTIMPL;
  }
  bool Dead() const { return generation_ != ShellState::Get().Generation(); }
  static HRESULT Disconnected(const char* member) {
    ShellState::Get().Log(std::string(member) + " => RPC_E_DISCONNECTED");
    return RPC_E_DISCONNECTED;
  }

  unsigned generation_;
};

// Makes the collection, or a new browser window for "InternetExplorer.Application".
class Factory final : public IClassFactory, private RefCounted<Factory> {
 public:
  explicit Factory(bool browsers) : browsers_(browsers) {}
  STANDIN_REFCOUNT

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* object = nullptr;
    if (browsers_) {
      const HWND window = ShellState::Get().StartBrowser();
      ShellState::Get().Log("CreateInstance InternetExplorer.Application => " + Decimal(window));
      if (!window) return E_FAIL;
      object = static_cast<IWebBrowser2*>(new Browser(window, /*started=*/true));
    } else {
      object = static_cast<IShellWindows*>(new ShellWindows());
    }
    const HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  friend class RefCounted<Factory>;
  bool browsers_;
};

}  // namespace

// CLSID_InternetExplorer, whose own registration is Wine's local server.
extern "C" const CLSID kInternetExplorerClass = {
    0x0002DF01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  bool browsers = false;
  if (IsEqualCLSID(clsid, kInternetExplorerClass)) {
    browsers = true;
  } else if (!IsEqualCLSID(clsid, CLSID_ShellWindows)) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  auto* factory = new Factory(browsers);
  const HRESULT result = factory->QueryInterface(iid, out);
  factory->Release();
  return result;
}

// The shell's window and its state live until the process ends.
STDAPI DllCanUnloadNow() { return S_FALSE; }

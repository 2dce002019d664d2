// A stand-in for the Windows shell, loaded in process by the program under test: the shell's
// window collection (IShellWindows with its DShellWindowsEvents connection point) and
// "InternetExplorer.Application" (IWebBrowser2), over other processes' browser and folder windows.
// Every call it receives is a line of standin.log beside the DLL. Browser windows announce
// themselves to the shell's hidden window (shared.h), which raises WindowRegistered and
// WindowRevoked on the program's own thread. Nothing runs while no browser comes or goes.
#include <windows.h>
// After windows.h:
#include <exdisp.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "../tools/shared.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this DLL's own module, as the linker places it

namespace {

bool IsBrowser(HWND window) { return IsShellClass(ClassOf(window)); }
HMODULE ThisModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }
// The folder of this DLL, which also holds the test tool that plays the browsers.
std::wstring Folder() {
  const std::wstring path = ModulePath(ThisModule());
  return path.substr(0, path.find_last_of(L'\\'));
}
void Log(const std::string& line) { AppendLine(Folder() + L"\\standin.log", line); }
HRESULT NotImplemented(const char* member) {
  Log(std::string(member) + " E_NOTIMPL");
  return E_NOTIMPL;
}

// Reference counting (the objects live on the program's single-threaded apartment), and
// QueryInterface answering the listed interfaces with `this` seen as the first one.
#define COUNTED                                                                           \
  LONG references_ = 1;                                                                   \
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); } \
  ULONG STDMETHODCALLTYPE Release() override {                                            \
    const LONG left = --references_;                                                      \
    if (left == 0) delete this;                                                           \
    return static_cast<ULONG>(left);                                                      \
  }
#define COUNTED_OBJECT(First, ...)                                            \
  COUNTED                                                                     \
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { \
    *out = nullptr;                                                           \
    for (const IID* known : {&IID_IUnknown, __VA_ARGS__})                     \
      if (IsEqualIID(iid, *known)) *out = static_cast<First*>(this);          \
    if (*out) AddRef();                                                       \
    return *out ? S_OK : E_NOINTERFACE;                                       \
  }
#define NO_PROPERTY(name, type) NOT_IMPLEMENTED(get_##name, type*) NOT_IMPLEMENTED(put_##name, type)

constexpr DISPID kWindowRegistered = 200;
constexpr DISPID kWindowRevoked = 201;
constexpr UINT kRaiseRegistered = WM_APP + 1;  // wParam: the window, lParam: its cookie
constexpr UINT kRestart = WM_APP + 2;          // the shell ends and starts again

// The shell's state: the registered windows in the order they arrived, and the sinks advised on
// any of its collections. One per process, made on the program's thread by the first object
// asked for; that thread then receives the browsers' announcements.
class Shell {
 public:
  static Shell& Get() {
    static Shell* shell = new Shell();  // lives as long as the process: see DllCanUnloadNow
    return *shell;
  }
  // The registered windows still open; one that went without a word is revoked later.
  std::vector<HWND> Windows() {
    std::vector<HWND> windows;
    for (const auto& [window, cookie] : entries_) {
      if (IsWindow(window)) windows.push_back(window);
      if (!IsWindow(window)) PostMessageW(window_, AnnounceMessage(), reinterpret_cast<WPARAM>(window), 0);
    }
    return windows;
  }
  unsigned generation = 0;  // collections of an older generation are a dead shell's
  std::map<DWORD, IDispatch*> sinks;
  DWORD nextSink = 1;

  // "InternetExplorer.Application": a new, hidden browser window in a process of its own,
  // registered at once; the program hears of it like of any other arrival.
  HWND StartBrowser() {
    const PROCESS_INFORMATION process =
        Start(L"\"" + Folder() + L"\\wtool.exe\" frame IEFrame \"\" \"\" hidden", Folder());
    if (!process.hProcess) return nullptr;
    // Its window, once the process has made it with its address field.
    HWND found = nullptr;
    WaitFor(10, [&] {
      for (HWND window : AllWindows())
        if (PidOf(window) == process.dwProcessId && IsBrowser(window) &&
            FindWindowExA(window, nullptr, "Edit", nullptr))
          found = window;
      return found != nullptr;
    });
    CloseHandle(process.hProcess);
    if (found) Arrived(found, /*raiseLater=*/true);
    return found;
  }

 private:
  Shell() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Shell::WindowProc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = kShellWindowClass;
    RegisterClassA(&wc);
    // A hidden top-level window, so that browsers in other processes find it by its class.
    window_ = CreateWindowExA(0, kShellWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, ThisModule(),
                              nullptr);
    // Browsers open before the shell started, oldest first: a new window opens on top.
    const std::vector<HWND> windows = AllWindows();
    for (auto window = windows.rbegin(); window != windows.rend(); ++window)
      if (PidOf(*window) != GetCurrentProcessId() && IsBrowser(*window))
        entries_.push_back({*window, nextCookie_++});
    Log("start windows=" + std::to_string(entries_.size()));
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message < WM_APP) return DefWindowProcA(window, message, wParam, lParam);  // while being made too
    Shell& shell = Get();
    const auto browser = reinterpret_cast<HWND>(wParam);
    if (message == AnnounceMessage() && lParam) shell.Arrived(browser, /*raiseLater=*/false);
    if (message == AnnounceMessage() && !lParam) {
      const auto known = shell.Find(browser);
      if (known == shell.entries_.end()) return 0;
      const LONG cookie = known->second;
      shell.entries_.erase(known);
      shell.Raise(kWindowRevoked, cookie, browser);
    }
    if (message == kRaiseRegistered) shell.Raise(kWindowRegistered, static_cast<LONG>(lParam), browser);
    if (message == kRestart) {
      // Every subscription ends with the old shell; the windows stay registered.
      for (const auto& [id, sink] : shell.sinks) sink->Release();
      shell.sinks.clear();
      ++shell.generation;
      Log("restart");
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  void Arrived(HWND browser, bool raiseLater) {
    if (Find(browser) != entries_.end() || !IsWindow(browser)) return;
    const LONG cookie = nextCookie_++;
    entries_.push_back({browser, cookie});
    if (raiseLater) PostMessageW(window_, kRaiseRegistered, reinterpret_cast<WPARAM>(browser), cookie);
    if (!raiseLater) Raise(kWindowRegistered, cookie, browser);
  }
  std::vector<std::pair<HWND, LONG>>::iterator Find(HWND browser) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const auto& entry) { return entry.first == browser; });
  }

  // Calls every advised sink; a sink may unadvise, or advise others, while it is called.
  void Raise(DISPID event, LONG cookie, HWND browser) {
    std::vector<IDispatch*> called;
    for (const auto& [id, sink] : sinks) called.push_back(sink);
    Log(std::string("raise ") + (event == kWindowRegistered ? "WindowRegistered " : "WindowRevoked ") +
        std::to_string(cookie) + " " + Decimal(browser) + " sinks=" + std::to_string(called.size()) +
        " ms=" + std::to_string(GetTickCount64()));
    for (IDispatch* sink : called) sink->AddRef();
    for (IDispatch* sink : called) {
      VARIANT argument{};  // as VariantInit leaves it
      argument.vt = VT_I4;
      argument.lVal = cookie;
      DISPPARAMS params{&argument, nullptr, 1, 0};
      sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
      sink->Release();
    }
  }

  HWND window_ = nullptr;
  std::vector<std::pair<HWND, LONG>> entries_;  // window, cookie
  LONG nextCookie_ = 1;
};

BSTR Bstr(const std::wstring& text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

// The automation object of one browser window; a closed window's is disconnected, as a dead
// browser's proxy is on Windows. Loading is instant: Navigate sets the address field and title.
class Browser final : public IWebBrowser2 {
 public:
  // A browser the shell started says when the last reference to it goes.
  explicit Browser(HWND window, bool started = false) : window_(window), started_(started) {}
  ~Browser() {
    if (started_) Log("released " + Decimal(window_));
  }
  COUNTED_OBJECT(IWebBrowser2, &IID_IDispatch, &IID_IWebBrowser, &IID_IWebBrowserApp, &IID_IWebBrowser2)

  HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* window) override {
    *window = reinterpret_cast<SHANDLE_PTR>(window_);
    return Answer("get_HWND");
  }
  HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* name) override {
    *name = Bstr(WideText(window_));
    return Answer("get_LocationName");
  }
  HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* url) override {
    *url = Bstr(WideText(Field()));
    return Answer("get_LocationURL");
  }
  HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
    DWORD_PTR ignored = 0;
    for (HWND window : {Field(), window_})
      SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(url ? url : L""), SMTO_ABORTIFHUNG,
                          5000, &ignored);
    return Answer("Navigate " + Utf8(url ? url : L""));
  }
  HRESULT STDMETHODCALLTYPE Refresh() override { return Answer("Refresh"); }
  HRESULT STDMETHODCALLTYPE Stop() override { return Answer("Stop"); }
  HRESULT STDMETHODCALLTYPE Quit() override {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return Answer("Quit");
  }
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL visible) override {
    ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
    return Answer(std::string("put_Visible ") + (visible ? "true" : "false"));
  }

 private:
  HWND Field() const { return FindWindowExA(window_, nullptr, "Edit", nullptr); }  // the address
  // Logs the member with the window's handle after its name.
  HRESULT Answer(const std::string& member) const {
    const auto space = member.find(' ');
    Log(member.substr(0, space) + " " + Decimal(window_) +
        (space == std::string::npos ? "" : member.substr(space)));
    return IsWindow(window_) ? S_OK : RPC_E_DISCONNECTED;
  }
  HWND window_;
  bool started_;

  // clang-format off
  EARLY_BOUND
  NOT_IMPLEMENTED(GoBack) NOT_IMPLEMENTED(GoForward) NOT_IMPLEMENTED(GoHome) NOT_IMPLEMENTED(GoSearch)
  NOT_IMPLEMENTED(Refresh2, VARIANT*) NOT_IMPLEMENTED(get_Application, IDispatch**)
  NOT_IMPLEMENTED(get_Parent, IDispatch**) NOT_IMPLEMENTED(get_Container, IDispatch**)
  NOT_IMPLEMENTED(get_Document, IDispatch**) NOT_IMPLEMENTED(get_TopLevelContainer, VARIANT_BOOL*)
  NOT_IMPLEMENTED(get_Type, BSTR*) NOT_IMPLEMENTED(get_Busy, VARIANT_BOOL*)
  NOT_IMPLEMENTED(ClientToWindow, int*, int*) NOT_IMPLEMENTED(PutProperty, BSTR, VARIANT)
  NOT_IMPLEMENTED(GetProperty, BSTR, VARIANT*) NOT_IMPLEMENTED(get_Name, BSTR*)
  NOT_IMPLEMENTED(get_FullName, BSTR*) NOT_IMPLEMENTED(get_Path, BSTR*) NOT_IMPLEMENTED(get_Visible, VARIANT_BOOL*)
  NOT_IMPLEMENTED(Navigate2, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
  NOT_IMPLEMENTED(QueryStatusWB, OLECMDID, OLECMDF*) NOT_IMPLEMENTED(ExecWB, OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
  NOT_IMPLEMENTED(ShowBrowserBar, VARIANT*, VARIANT*, VARIANT*) NOT_IMPLEMENTED(get_ReadyState, READYSTATE*)
  NO_PROPERTY(Left, LONG) NO_PROPERTY(Top, LONG) NO_PROPERTY(Width, LONG) NO_PROPERTY(Height, LONG)
  NO_PROPERTY(StatusText, BSTR) NO_PROPERTY(ToolBar, int) NO_PROPERTY(StatusBar, VARIANT_BOOL)
  NO_PROPERTY(MenuBar, VARIANT_BOOL) NO_PROPERTY(FullScreen, VARIANT_BOOL) NO_PROPERTY(Offline, VARIANT_BOOL)
  NO_PROPERTY(Silent, VARIANT_BOOL) NO_PROPERTY(RegisterAsBrowser, VARIANT_BOOL)
  NO_PROPERTY(RegisterAsDropTarget, VARIANT_BOOL) NO_PROPERTY(TheaterMode, VARIANT_BOOL)
  NO_PROPERTY(AddressBar, VARIANT_BOOL) NO_PROPERTY(Resizable, VARIANT_BOOL)
  // clang-format on
};

// VT_DISPATCH items for the windows, in the collection's order.
class WindowEnumerator final : public IEnumVARIANT {
 public:
  explicit WindowEnumerator(std::vector<HWND> windows) : windows_(std::move(windows)) {}
  COUNTED_OBJECT(IEnumVARIANT, &IID_IEnumVARIANT)

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* items, ULONG* fetched) override {
    ULONG given = 0;
    for (; given < wanted && next_ < windows_.size(); ++given, ++next_) {
      VariantInit(&items[given]);
      items[given].vt = VT_DISPATCH;
      items[given].pdispVal = new Browser(windows_[next_]);
    }
    if (fetched) *fetched = given;
    Log("Next " + std::to_string(wanted) + " => " + std::to_string(given));
    return given == wanted ? S_OK : S_FALSE;
  }
  NOT_IMPLEMENTED(Skip, ULONG)
  NOT_IMPLEMENTED(Reset)
  NOT_IMPLEMENTED(Clone, IEnumVARIANT**)

 private:
  std::vector<HWND> windows_;
  size_t next_ = 0;
};

// The collection, its connection point container and its one connection point, for
// DShellWindowsEvents.
class ShellWindows final : public IShellWindows, public IConnectionPointContainer, public IConnectionPoint {
 public:
  ShellWindows() { Log("CreateInstance ShellWindows"); }
  COUNTED
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (IsEqualIID(iid, IID_IConnectionPointContainer)) *out = static_cast<IConnectionPointContainer*>(this);
    if (IsEqualIID(iid, IID_IConnectionPoint)) *out = static_cast<IConnectionPoint*>(this);
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IShellWindows))
      *out = static_cast<IShellWindows*>(this);
    if (*out) AddRef();
    return *out ? S_OK : E_NOINTERFACE;
  }

  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    if (Dead("get_Count")) return RPC_E_DISCONNECTED;
    *count = static_cast<LONG>(Shell::Get().Windows().size());
    Log("get_Count => " + std::to_string(*count));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** enumerator) override {
    if (Dead("_NewEnum")) return RPC_E_DISCONNECTED;
    std::vector<HWND> windows = Shell::Get().Windows();
    Log("_NewEnum => " + std::to_string(windows.size()));
    *enumerator = new WindowEnumerator(std::move(windows));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    *point = nullptr;
    if (Dead("FindConnectionPoint")) return RPC_E_DISCONNECTED;
    if (!IsEqualIID(iid, DIID_DShellWindowsEvents)) return NotImplemented("FindConnectionPoint");
    Log("FindConnectionPoint DShellWindowsEvents");
    *point = this;
    AddRef();
    return S_OK;
  }
  // As the Windows shell, the sink is asked for the events' own interface.
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    IDispatch* events = nullptr;
    if (FAILED(sink->QueryInterface(DIID_DShellWindowsEvents, reinterpret_cast<void**>(&events))) ||
        !events) {
      Log("Advise => CONNECT_E_CANNOTCONNECT");
      return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = Shell::Get().nextSink++;
    Shell::Get().sinks[*cookie] = events;
    Log("Advise => " + std::to_string(*cookie));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    Log("Unadvise " + std::to_string(cookie));
    const auto found = Shell::Get().sinks.find(cookie);
    if (found == Shell::Get().sinks.end()) return CONNECT_E_NOCONNECTION;
    found->second->Release();
    Shell::Get().sinks.erase(found);
    return S_OK;
  }

 private:
  bool Dead(const char* member) const {
    if (generation_ == Shell::Get().generation) return false;
    Log(std::string(member) + " => RPC_E_DISCONNECTED");
    return true;
  }
  unsigned generation_ = Shell::Get().generation;

  // clang-format off
  EARLY_BOUND
  NOT_IMPLEMENTED(Item, VARIANT, IDispatch**) NOT_IMPLEMENTED(Register, IDispatch*, LONG, int, LONG*)
  NOT_IMPLEMENTED(RegisterPending, LONG, VARIANT*, VARIANT*, int, LONG*) NOT_IMPLEMENTED(Revoke, LONG)
  NOT_IMPLEMENTED(OnNavigate, LONG, VARIANT*) NOT_IMPLEMENTED(OnActivated, LONG, VARIANT_BOOL)
  NOT_IMPLEMENTED(FindWindowSW, VARIANT*, VARIANT*, int, LONG*, int, IDispatch**)
  NOT_IMPLEMENTED(OnCreated, LONG, IUnknown*) NOT_IMPLEMENTED(ProcessAttachDetach, VARIANT_BOOL)
  NOT_IMPLEMENTED(EnumConnectionPoints, IEnumConnectionPoints**) NOT_IMPLEMENTED(GetConnectionInterface, IID*)
  NOT_IMPLEMENTED(GetConnectionPointContainer, IConnectionPointContainer**)
  NOT_IMPLEMENTED(EnumConnections, IEnumConnections**)
  // clang-format on
};

// Makes the collection, or a new browser window for "InternetExplorer.Application".
class Factory final : public IClassFactory {
 public:
  explicit Factory(bool browsers) : browsers_(browsers) {}
  COUNTED_OBJECT(IClassFactory, &IID_IClassFactory)

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* object = static_cast<IShellWindows*>(browsers_ ? nullptr : new ShellWindows());
    if (browsers_) {
      const HWND window = Shell::Get().StartBrowser();
      Log("CreateInstance InternetExplorer.Application => " + Decimal(window));
      if (!window) return E_FAIL;
      object = new Browser(window, /*started=*/true);
    }
    const HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  bool browsers_;
};

}  // namespace

// CLSID_InternetExplorer, whose own registration is Wine's local server.
extern "C" const CLSID kInternetExplorerClass = {
    0x0002DF01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  *out = nullptr;
  const bool browsers = IsEqualCLSID(clsid, kInternetExplorerClass);
  if (!browsers && !IsEqualCLSID(clsid, CLSID_ShellWindows)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new Factory(browsers);
  const HRESULT result = factory->QueryInterface(iid, out);
  factory->Release();
  return result;
}

// The shell's window and its state live until the process ends.
STDAPI DllCanUnloadNow() { return S_FALSE; }

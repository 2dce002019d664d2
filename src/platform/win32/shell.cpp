#include "platform/win32/shell.h"

#include <exdisp.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <algorithm>
#include <array>
#include <set>
#include <unordered_set>

#include "platform/win32/base_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace wendrel::win32 {

using Microsoft::WRL::ComPtr;

namespace {

class UniqueBstr {
 public:
  UniqueBstr() = default;
  // COM strings are UTF-16: the program's UTF-8 goes over directly, whatever the code page.
  explicit UniqueBstr(const std::string& text) {
    const std::wstring wide = Widen(text);
    bstr_ = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  ~UniqueBstr() { ::SysFreeString(bstr_); }

  BSTR* Out() {
    ::SysFreeString(bstr_);
    bstr_ = nullptr;
    return &bstr_;
  }
  BSTR get() const { return bstr_; }
  std::string Narrow() const {
    if (!bstr_) return {};
    return win32::Narrow(std::wstring_view(bstr_, ::SysStringLen(bstr_)));
  }

 private:
  BSTR bstr_ = nullptr;
};

void Check(HRESULT result) {
  if (FAILED(result)) throw PlatformError(ErrorText(static_cast<DWORD>(result)));
}

// The whole text of another program's window, however long: its length is asked first, and the
// read is repeated with more room should the text have grown in between.
std::string WindowText(HWND window) {
  // Another program's window may hang; a timeout keeps the strip responsive.
  constexpr UINT kTimeout = 2000;
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTimeout, &length)) {
    throw LastError();
  }
  std::wstring text;
  for (;;) {
    // One character more than asked for: a full buffer means the text may have grown.
    text.assign(length + 2, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, kTimeout, &copied)) {
      throw LastError();
    }
    if (copied + 1 < text.size() - 1) {
      text.resize(copied);
      return Narrow(text);
    }
    length = text.size() * 2;
  }
}

// A browser window reached through its automation interface.
class ComBrowser final : public IBrowser {
 public:
  explicit ComBrowser(ComPtr<IWebBrowser2> browser) : browser_(std::move(browser)) {}

  WindowHandle Hwnd() override {
    SHANDLE_PTR window = 0;
    Check(browser_->get_HWND(&window));
    return static_cast<WindowHandle>(window);
  }
  std::string LocationName() override {
    UniqueBstr name;
    const HRESULT result = browser_->get_LocationName(name.Out());
    // Wine's browser does not report its page title; its window caption stands in for it.
    if (result == E_NOTIMPL) return WindowText(ToHwnd(Hwnd()));
    Check(result);
    return name.Narrow();
  }
  std::string LocationURL() override {
    UniqueBstr url;
    Check(browser_->get_LocationURL(url.Out()));
    return url.Narrow();
  }
  void Navigate(const std::string& url) override {
    const UniqueBstr address(url);
    VARIANT empty;
    ::VariantInit(&empty);
    Check(browser_->Navigate(address.get(), &empty, &empty, &empty, &empty));
  }
  void Refresh() override { Check(browser_->Refresh()); }
  void Stop() override { Check(browser_->Stop()); }
  void Quit() override { Check(browser_->Quit()); }
  void SetVisible(bool visible) override {
    Check(browser_->put_Visible(visible ? VARIANT_TRUE : VARIANT_FALSE));
  }

 private:
  ComPtr<IWebBrowser2> browser_;
};

class ComShellWindows final : public IShellWindows {
 public:
  explicit ComShellWindows(ComPtr<::IShellWindows> windows) : windows_(std::move(windows)) {}

  // One enumerator read in batches: a walk costs the shell a few calls whatever the number of
  // windows, where asking for each item by index would cost one more call per window (and
  // Windows serves the collection from another process). Count and Item stand in for a
  // collection without an enumerator.
  std::vector<std::unique_ptr<IBrowser>> Items() override {
    ComPtr<IUnknown> unknown;
    ComPtr<IEnumVARIANT> enumerator;
    if (FAILED(windows_->_NewEnum(unknown.GetAddressOf())) || !unknown || FAILED(unknown.As(&enumerator))) {
      return ItemsByIndex();
    }
    std::vector<std::unique_ptr<IBrowser>> items;
    constexpr ULONG kBatch = 64;
    std::array<VARIANT, kBatch> batch;
    for (;;) {
      for (VARIANT& item : batch) ::VariantInit(&item);
      ULONG fetched = 0;
      const HRESULT result = enumerator->Next(kBatch, batch.data(), &fetched);
      Check(result);
      for (ULONG i = 0; i < fetched && i < kBatch; ++i) {
        items.push_back(AsBrowser(batch[i].vt == VT_DISPATCH ? batch[i].pdispVal : nullptr));
        ::VariantClear(&batch[i]);
      }
      if (result != S_OK || fetched < kBatch) return items;
    }
  }

 private:
  static std::unique_ptr<IBrowser> AsBrowser(IDispatch* item) {
    ComPtr<IWebBrowser2> browser;
    if (!item ||
        FAILED(item->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(browser.GetAddressOf())))) {
      return nullptr;
    }
    return std::make_unique<ComBrowser>(std::move(browser));
  }

  std::vector<std::unique_ptr<IBrowser>> ItemsByIndex() {
    long count = 0;
    Check(windows_->get_Count(&count));
    std::vector<std::unique_ptr<IBrowser>> items;
    for (long i = 0; i < count; ++i) {
      VARIANT index;
      ::VariantInit(&index);
      index.vt = VT_I4;
      index.lVal = i;
      ComPtr<IDispatch> item;
      items.push_back(SUCCEEDED(windows_->Item(index, &item)) ? AsBrowser(item.Get()) : nullptr);
    }
    return items;
  }

  ComPtr<::IShellWindows> windows_;
};

// Wine's own browser, served by another process, closes its window with the last reference to
// its automation object.
bool ClosesWithLastReference(IWebBrowser2* browser) {
  static const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  ComPtr<IClientSecurity> proxy;
  return wine && SUCCEEDED(browser->QueryInterface(IID_IClientSecurity,
                                                   reinterpret_cast<void**>(proxy.GetAddressOf())));
}

constexpr std::array<const wchar_t*, 3> kBrowserClasses = {L"IEFrame", L"CabinetWClass", L"ExplorerWClass"};

bool IsBrowserWindow(HWND window) {
  wchar_t name[64] = {};
  if (!::GetClassNameW(window, name, 64)) return false;
  return std::any_of(kBrowserClasses.begin(), kBrowserClasses.end(),
                     [&](const wchar_t* browserClass) { return ::lstrcmpiW(name, browserClass) == 0; });
}

std::vector<HWND> BrowserWindowsTopFirst() {
  std::vector<HWND> windows;
  ::EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        if (IsBrowserWindow(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// A browser or folder window known only by its top-level window.
class WindowBrowser final : public IBrowser {
 public:
  explicit WindowBrowser(HWND window) : window_(window) {}

  WindowHandle Hwnd() override { return FromHwnd(Alive()); }
  std::string LocationName() override { return WindowText(Alive()); }
  // The address bar's text: the first edit field inside the window.
  std::string LocationURL() override {
    HWND edit = nullptr;
    ::EnumChildWindows(
        Alive(),
        [](HWND child, LPARAM found) -> BOOL {
          wchar_t name[32] = {};
          ::GetClassNameW(child, name, 32);
          if (::lstrcmpiW(name, L"Edit") != 0) return TRUE;
          *reinterpret_cast<HWND*>(found) = child;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&edit));
    return edit ? WindowText(edit) : std::string();
  }
  void Navigate(const std::string&) override {
    throw PlatformError("Navigation needs the browser's automation.");
  }
  void Refresh() override { throw PlatformError("Refreshing needs the browser's automation."); }
  void Stop() override { throw PlatformError("Stopping needs the browser's automation."); }
  void Quit() override {
    if (!::PostMessageW(Alive(), WM_CLOSE, 0, 0)) throw LastError();
  }
  void SetVisible(bool visible) override { ::ShowWindow(Alive(), visible ? SW_SHOW : SW_HIDE); }

 private:
  HWND Alive() const {
    if (!::IsWindow(window_)) throw PlatformError("The window has been closed.");
    return window_;
  }
  HWND window_;
};

class CatalogueShellWindows final : public IShellWindows {
 public:
  explicit CatalogueShellWindows(WindowCatalogue& catalogue) : catalogue_(catalogue) {}
  std::vector<std::unique_ptr<IBrowser>> Items() override {
    std::vector<std::unique_ptr<IBrowser>> items;
    for (HWND window : catalogue_.Refresh()) items.push_back(std::make_unique<WindowBrowser>(window));
    return items;
  }

 private:
  WindowCatalogue& catalogue_;
};

// Receives DShellWindowsEvents through the collection's connection point.
class EventSink final : public IDispatch {
 public:
  EventSink(ShellEventHandler registered, ShellEventHandler revoked)
      : registered_(std::move(registered)), revoked_(std::move(revoked)) {}
  virtual ~EventSink() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, DIID_DShellWindowsEvents)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(::InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    std::int32_t cookie = 0;
    if (params && params->cArgs >= 1 && params->rgvarg[0].vt == VT_I4) cookie = params->rgvarg[0].lVal;
    constexpr DISPID kWindowRegistered = 200;
    constexpr DISPID kWindowRevoked = 201;
    if (id == kWindowRegistered && registered_) registered_(cookie);
    if (id == kWindowRevoked && revoked_) revoked_(cookie);
    return S_OK;
  }

 private:
  LONG references_ = 1;
  ShellEventHandler registered_;
  ShellEventHandler revoked_;
};

class ComShellEvents final : public IShellEvents {
 public:
  ComShellEvents(ComPtr<::IShellWindows> windows, ComPtr<IConnectionPoint> point, DWORD cookie)
      : windows_(std::move(windows)), point_(std::move(point)), cookie_(cookie) {}
  ~ComShellEvents() override {
    // The collection may already be gone; the subscription ends either way.
    point_->Unadvise(cookie_);
  }

 private:
  // The subscription's own collection, whose events these are.
  ComPtr<::IShellWindows> windows_;
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_;
};

// Watches for browser windows coming and going by looking at the desktop four times a second.
class PollingShellEvents final : public IShellEvents, private BaseWindow<PollingShellEvents> {
 public:
  PollingShellEvents(ShellEventHandler registered, ShellEventHandler revoked)
      : registered_(std::move(registered)), revoked_(std::move(revoked)) {
    const std::vector<HWND> now = BrowserWindowsTopFirst();
    known_.insert(now.begin(), now.end());
    Create(0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE);
    if (!::SetTimer(Hwnd(), 1, 250, nullptr)) throw LastError();
  }
  ~PollingShellEvents() override { ::KillTimer(Hwnd(), 1); }

  static const wchar_t* ClassName() { return L"WendrelWindowWatch"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER) return Default(message, wParam, lParam);
    const std::vector<HWND> list = BrowserWindowsTopFirst();
    const std::set<HWND> now(list.begin(), list.end());
    std::vector<HWND> added;
    std::vector<HWND> gone;
    for (HWND window : now) {
      if (!known_.count(window)) added.push_back(window);
    }
    for (HWND window : known_) {
      if (!now.count(window)) gone.push_back(window);
    }
    known_ = now;
    // The handlers only arm the refresh timer, and may run nested message loops: the state
    // above is settled before they run.
    for (HWND window : added) registered_(FromHwnd(window));
    for (HWND window : gone) revoked_(FromHwnd(window));
    return 0;
  }

 private:
  friend class BaseWindow<PollingShellEvents>;
  ShellEventHandler registered_;
  ShellEventHandler revoked_;
  std::set<HWND> known_;
};

}  // namespace

namespace {
// A window-event hook carries no context of its own: the catalogue that set it is found here.
std::unordered_map<HWINEVENTHOOK, WindowCatalogue*>& Listeners() {
  static std::unordered_map<HWINEVENTHOOK, WindowCatalogue*> listeners;
  return listeners;
}
}  // namespace

WindowCatalogue::~WindowCatalogue() {
  if (!hook_) return;
  ::UnhookWinEvent(hook_);
  Listeners().erase(hook_);
}

void WindowCatalogue::Listen() {
  if (hook_) return;
  // Without the hook, new windows seen together are placed by z-order alone.
  hook_ = ::SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, &WindowCatalogue::OnCreated, 0,
                            0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  if (hook_) Listeners()[hook_] = this;
}

void CALLBACK WindowCatalogue::OnCreated(HWINEVENTHOOK hook, DWORD, HWND window, LONG object, LONG child,
                                         DWORD, DWORD) {
  if (object != OBJID_WINDOW || child != CHILDID_SELF || !window || !IsBrowserWindow(window)) return;
  const auto found = Listeners().find(hook);
  if (found == Listeners().end()) return;
  WindowCatalogue& catalogue = *found->second;
  catalogue.made_.emplace(window, catalogue.nextMade_++);
}

const std::vector<HWND>& WindowCatalogue::Refresh() {
  const std::vector<HWND> topFirst = BrowserWindowsTopFirst();
  const std::unordered_set<HWND> open(topFirst.begin(), topFirst.end());
  std::erase_if(seen_, [&](HWND window) { return !open.contains(window); });
  std::erase_if(started_, [](const auto& started) { return !::IsWindow(started.first); });
  std::erase_if(made_, [](const auto& made) { return !::IsWindow(made.first); });
  // A new window opens on top of the others: walking from the bottom keeps the order of opening,
  // unless a window was brought forward since; the order they were made in decides then.
  std::unordered_set<HWND> known(seen_.begin(), seen_.end());
  std::vector<HWND> fresh;
  for (auto window = topFirst.rbegin(); window != topFirst.rend(); ++window) {
    if (known.insert(*window).second) fresh.push_back(*window);
  }
  const auto made = [this](HWND window) {
    const auto found = made_.find(window);
    return found == made_.end() ? 0 : found->second;
  };
  std::stable_sort(fresh.begin(), fresh.end(), [&](HWND a, HWND b) { return made(a) < made(b); });
  for (HWND window : fresh) {
    made_.erase(window);
    seen_.push_back(window);
  }
  return seen_;
}

void WindowCatalogue::KeepAlive(ComPtr<IWebBrowser2> browser, HWND window) {
  std::erase_if(started_, [](const auto& started) { return !::IsWindow(started.first); });
  started_.emplace_back(window, std::move(browser));
}

std::unique_ptr<IShellWindows> Shell::CreateShellWindows() {
  ComPtr<::IShellWindows> windows;
  long count = 0;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                   reinterpret_cast<void**>(windows.GetAddressOf()))) &&
      SUCCEEDED(windows->get_Count(&count))) {
    return std::make_unique<ComShellWindows>(std::move(windows));
  }
  catalogue_.Listen();
  return std::make_unique<CatalogueShellWindows>(catalogue_);
}

std::unique_ptr<IShellEvents> Shell::Subscribe(ShellEventHandler registered, ShellEventHandler revoked) {
  ComPtr<::IShellWindows> windows;
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                   reinterpret_cast<void**>(windows.GetAddressOf()))) &&
      SUCCEEDED(windows.As(&container)) &&
      SUCCEEDED(container->FindConnectionPoint(DIID_DShellWindowsEvents, point.GetAddressOf()))) {
    ComPtr<IDispatch> sink;
    sink.Attach(new EventSink(registered, revoked));
    DWORD cookie = 0;
    if (SUCCEEDED(point->Advise(sink.Get(), &cookie)))
      return std::make_unique<ComShellEvents>(windows, point, cookie);
  }
  return std::make_unique<PollingShellEvents>(std::move(registered), std::move(revoked));
}

std::unique_ptr<IBrowser> Shell::CreateBrowser() {
  CLSID browserClass{};
  Check(::CLSIDFromProgID(L"InternetExplorer.Application", &browserClass));
  ComPtr<IWebBrowser2> browser;
  Check(::CoCreateInstance(browserClass, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                           IID_IWebBrowser2, reinterpret_cast<void**>(browser.GetAddressOf())));
  // Any other browser is let go as soon as the caller has told it where to go and shown it: the
  // window is then reached through the collection and its handle alone.
  SHANDLE_PTR window = 0;
  if (ClosesWithLastReference(browser.Get()) && SUCCEEDED(browser->get_HWND(&window)) && window) {
    catalogue_.KeepAlive(browser, ToHwnd(static_cast<WindowHandle>(window)));
  }
  return std::make_unique<ComBrowser>(std::move(browser));
}

}  // namespace wendrel::win32

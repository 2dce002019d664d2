// The test tool as one of today's browsers (copied to msedge.exe, chrome.exe, firefox.exe or a
// non-browser code.exe): windows of a browser's frame class that raise the window events Wine
// leaves out, show an MSAA tree shaped like the browser's (an address field in a toolbar beside
// a web document with a field of its own), and log to <exe>.log what they are asked to do.
#pragma once

#include <oleacc.h>

#include <string>
#include <vector>

namespace browser {

constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

void Log(const std::wstring& line) {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const HANDLE file = CreateFileW((std::wstring(exe) + L".log").c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::wstring text = line + L"\n";
  char utf8[4096] = {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(file, utf8, length > 0 ? static_cast<DWORD>(length - 1) : 0, &written, nullptr);
  CloseHandle(file);
}

// One element; its value is the text of `field` where there is one. Elements live as long as
// the process, so reference counts are kept for form only.
class Element final : public IAccessible {
 public:
  Element(LONG role, const wchar_t* value, HWND field = nullptr, const ULONGLONG* asked = nullptr)
      : role_(role), value_(value), field_(field), asked_(asked) {}
  std::vector<Element*> children;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIidAccessible) ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override { return *out = nullptr, S_FALSE; }
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
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT, BSTR* out) override { return *out = nullptr, S_FALSE; }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* out) override {
    std::wstring text = value_ ? value_ : L"";
    if (field_) {
      text.assign(static_cast<size_t>(GetWindowTextLengthW(field_)) + 1, L'\0');
      text.resize(static_cast<size_t>(GetWindowTextW(field_, text.data(), static_cast<int>(text.size()))));
    }
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    // From the request for the tree to the address's value: the read as the browser sees it.
    if (asked_) Log(L"read ms=" + std::to_wstring(GetTickCount64() - *asked_));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* out) override {
    return *out = nullptr, S_FALSE;
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
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override { return *out = nullptr, S_FALSE; }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR*, VARIANT, LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) override {
    return *out = nullptr, S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accLocation(LONG*, LONG*, LONG*, LONG*, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG, LONG, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  LONG role_;
  const wchar_t* value_;
  HWND field_;
  const ULONGLONG* asked_;
};

struct Window {
  HWND field;  // the address, as the address field shows it
  ULONGLONG asked = 0;
  Element client{ROLE_SYSTEM_CLIENT, nullptr};
  Element document{ROLE_SYSTEM_DOCUMENT, L"https://page.example.org/"};
  Element pageField{ROLE_SYSTEM_TEXT, L"a field of the page"};
  Element toolbar{ROLE_SYSTEM_TOOLBAR, nullptr};
  Element address;
  explicit Window(HWND edit) : field(edit), address(ROLE_SYSTEM_TEXT, nullptr, edit, &asked) {
    client.children = {&document, &toolbar};
    document.children = {&pageField};
    toolbar.children = {&address};
  }
};

bool hang = false;  // the first request for the tree waits 10 s: a browser that stopped answering
int open = 0;

void Raise(HWND window, DWORD event) { NotifyWinEvent(event, window, OBJID_WINDOW, CHILDID_SELF); }

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_GETOBJECT:
      if (static_cast<LONG>(lParam) != OBJID_CLIENT || !self) break;
      self->asked = GetTickCount64();
      if (hang) {
        hang = false;
        Log(L"hang");
        Sleep(10000);
      }
      return LresultFromObject(kIidAccessible, wParam, &self->client);
    case WM_APPCOMMAND:
      Log(L"appcommand " + std::to_wstring(GET_APPCOMMAND_LPARAM(lParam)) + L" " +
          std::to_wstring(reinterpret_cast<LONG_PTR>(window)));
      return TRUE;
    case WM_CLOSE:
      // As Chromium does: hidden at once, gone a moment later.
      Log(L"close " + std::to_wstring(reinterpret_cast<LONG_PTR>(window)));
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
      Raise(window, EVENT_OBJECT_DESTROY);
      delete self;
      if (--open == 0) PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring Numbered(std::wstring text, int n) {
  for (size_t at; (at = text.find(L'#')) != std::wstring::npos;) text.replace(at, 1, std::to_wstring(n));
  return text;
}

// A browser window of the class, shown, its events raised as a browser's would be on Windows.
HWND Open(const std::wstring& className, const std::wstring& title, const std::wstring& address) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className.c_str();
  RegisterClassW(&wc);  // fails harmlessly for the second window of the class
  const HWND window = CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 120, 120, 500,
                                      300, nullptr, nullptr, wc.hInstance, nullptr);
  const HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", address.c_str(), WS_CHILD | WS_VISIBLE, 4, 4,
                                    400, 22, window, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new Window(edit)));
  ++open;
  ShowWindow(window, SW_SHOW);
  Raise(window, EVENT_OBJECT_SHOW);
  return window;
}

int Run() {
  MSG msg;
  while (open > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

// As started by a program opening sites: "--new-window URL..." or "-new-window URL". The
// command line is logged; each site opens in a window of its own, titled with its address.
int Launched(const std::vector<std::wstring>& args) {
  Log(L"started " + std::wstring(GetCommandLineW()));
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const bool firefox = std::wstring(exe).find(L"firefox") != std::wstring::npos;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i].empty() || args[i][0] == L'-') continue;
    Open(firefox ? L"MozillaWindowClass" : L"Chrome_WidgetWin_1", args[i], args[i]);
  }
  return open ? Run() : 0;
}

}  // namespace browser

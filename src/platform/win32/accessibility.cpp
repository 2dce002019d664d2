// The address field found through UI Automation or MSAA, on the address reader's worker thread.
#include <objbase.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <deque>

#include "platform/win32/address_reader.h"

using Microsoft::WRL::ComPtr;

namespace wendrel::win32 {
namespace {

// Declared here: MinGW's import library resolves IID_IAccessible to a wrong value.
constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// The leading part of UI Automation's client interfaces, in their order (UIAutomationClient.h),
// which MinGW's headers do not declare; no later member is ever called.
struct IAutomationElement : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** id) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirst(int scope, IUnknown* condition, IAutomationElement** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAll(int scope, IUnknown* condition, IUnknown** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache(int scope, IUnknown* condition, IUnknown* cache,
                                                        IAutomationElement** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache(int scope, IUnknown* condition, IUnknown* cache,
                                                      IUnknown** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache(IUnknown* cache, IAutomationElement** updated) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(int property, VARIANT* value) = 0;
};
struct IAutomation : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CompareElements(IAutomationElement*, IAutomationElement*, BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds(SAFEARRAY*, SAFEARRAY*, BOOL*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRootElement(IAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND window, IAutomationElement** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromPoint(POINT, IAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFocusedElement(IAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRootElementBuildCache(IUnknown*, IAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandleBuildCache(HWND, IUnknown*, IAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromPointBuildCache(POINT, IUnknown*, IAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFocusedElementBuildCache(IUnknown*, IAutomationElement**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateTreeWalker(IUnknown*, IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ControlViewWalker(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContentViewWalker(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RawViewWalker(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RawViewCondition(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ControlViewCondition(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContentViewCondition(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateCacheRequest(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateTrueCondition(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateFalseCondition(IUnknown**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreatePropertyCondition(int property, VARIANT value,
                                                            IUnknown** condition) = 0;
};
constexpr CLSID kClsidAutomation = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
constexpr IID kIidAutomation = {0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
constexpr int kTreeScopeDescendants = 4;
constexpr int kAutomationIdProperty = 30011;
constexpr int kClassNameProperty = 30012;
constexpr int kValueProperty = 30045;

// The address fields known by language-independent marks: Chromium's omnibox by its view's class,
// Firefox's and Vivaldi's by their element ids.
constexpr std::pair<int, const wchar_t*> kAddressFields[] = {
    {kClassNameProperty, L"OmniboxViewViews"},
    {kAutomationIdProperty, L"urlbar-input"},
    {kAutomationIdProperty, L"urlFieldInput"},
};

// Elements looked at in one MSAA walk, at most: the browser's own frame has a few dozen.
constexpr int kMostElements = 400;

class Variant {
 public:
  Variant() { ::VariantInit(&value_); }
  ~Variant() { ::VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* operator&() { return &value_; }
  const VARIANT& operator*() const { return value_; }

 private:
  VARIANT value_;
};

VARIANT Self() {
  VARIANT self;
  ::VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

std::wstring TakeText(BSTR text) {
  std::wstring value = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
  ::SysFreeString(text);
  return value;
}

// Whether an element is a text field that shows on screen; its value then is the answer.
std::optional<std::wstring> FieldValue(IAccessible& holder, VARIANT child) {
  Variant role;
  if (FAILED(holder.get_accRole(child, &role)) || (*role).vt != VT_I4 || (*role).lVal != ROLE_SYSTEM_TEXT)
    return std::nullopt;
  Variant state;
  if (SUCCEEDED(holder.get_accState(child, &state)) && (*state).vt == VT_I4 &&
      ((*state).lVal & STATE_SYSTEM_INVISIBLE))
    return std::nullopt;
  BSTR value = nullptr;
  // A field without a value is an empty field: a new tab's address field.
  if (FAILED(holder.get_accValue(child, &value))) return std::nullopt;
  return TakeText(value);
}

bool IsDocument(IAccessible& element) {
  Variant role;
  return SUCCEEDED(element.get_accRole(Self(), &role)) && (*role).vt == VT_I4 &&
         (*role).lVal == ROLE_SYSTEM_DOCUMENT;
}

// The window's own accessible object, asked for with a time limit: the object call a hung
// window would never return from is the first one.
ComPtr<IAccessible> RootOf(HWND window, ULONGLONG deadline) {
  const ULONGLONG now = ::GetTickCount64();
  if (now >= deadline) return nullptr;
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(static_cast<LONG>(OBJID_CLIENT)),
                             SMTO_ABORTIFHUNG, static_cast<UINT>(deadline - now), &answer) ||
      answer == 0)
    return nullptr;
  ComPtr<IAccessible> root;
  // An answer that cannot be taken leaves its object to the browser; nothing else can be done.
  if (FAILED(::ObjectFromLresult(static_cast<LRESULT>(answer), kIidAccessible, 0,
                                 reinterpret_cast<void**>(root.GetAddressOf()))))
    return nullptr;
  return root;
}

// Breadth first from the window's client object, so that the browser's toolbar is met before
// anything deep; web documents are not entered (a page's own fields are not the address).
std::optional<std::wstring> FindThroughMsaa(HWND window, ULONGLONG deadline) {
  std::deque<ComPtr<IAccessible>> queue;
  if (auto root = RootOf(window, deadline)) queue.push_back(std::move(root));
  int seen = 0;
  while (!queue.empty() && seen < kMostElements && ::GetTickCount64() < deadline) {
    const ComPtr<IAccessible> element = std::move(queue.front());
    queue.pop_front();
    LONG count = 0;
    if (FAILED(element->get_accChildCount(&count)) || count <= 0) continue;
    count = std::min<LONG>(count, kMostElements);
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    LONG obtained = 0;
    if (FAILED(::AccessibleChildren(element.Get(), 0, count, children.data(), &obtained))) continue;
    std::optional<std::wstring> found;
    for (LONG i = 0; i < obtained; ++i) {
      VARIANT& child = children[static_cast<std::size_t>(i)];
      ++seen;
      if (found) {
      } else if (child.vt == VT_I4) {
        found = FieldValue(*element.Get(), child);
      } else if (child.vt == VT_DISPATCH && child.pdispVal) {
        ComPtr<IAccessible> inner;
        if (SUCCEEDED(child.pdispVal->QueryInterface(kIidAccessible,
                                                     reinterpret_cast<void**>(inner.GetAddressOf())))) {
          found = FieldValue(*inner.Get(), Self());
          if (!found && !IsDocument(*inner.Get())) queue.push_back(std::move(inner));
        }
      }
      ::VariantClear(&child);
    }
    if (found) return found;
  }
  return std::nullopt;
}

}  // namespace

struct AddressFinder::Automation {
  ComPtr<IAutomation> automation;
  std::vector<ComPtr<IUnknown>> conditions;
};

AddressFinder::AddressFinder() {
  auto found = std::make_unique<Automation>();
  // Absent from older systems and from Wine 8: MSAA alone then.
  if (FAILED(::CoCreateInstance(kClsidAutomation, nullptr, CLSCTX_INPROC_SERVER, kIidAutomation,
                                reinterpret_cast<void**>(found->automation.GetAddressOf()))))
    return;
  for (const auto& [property, value] : kAddressFields) {
    VARIANT text;
    text.vt = VT_BSTR;
    text.bstrVal = ::SysAllocString(value);
    ComPtr<IUnknown> condition;
    if (SUCCEEDED(found->automation->CreatePropertyCondition(property, text, condition.GetAddressOf())))
      found->conditions.push_back(std::move(condition));
    ::VariantClear(&text);
  }
  automation_ = std::move(found);
}

AddressFinder::~AddressFinder() = default;

std::optional<std::wstring> AddressFinder::Find(HWND window, ULONGLONG deadline) {
  if (automation_) {
    ComPtr<IAutomationElement> root;
    if (SUCCEEDED(automation_->automation->ElementFromHandle(window, root.GetAddressOf())) && root) {
      for (const auto& condition : automation_->conditions) {
        if (::GetTickCount64() >= deadline) return std::nullopt;
        ComPtr<IAutomationElement> field;
        if (FAILED(root->FindFirst(kTreeScopeDescendants, condition.Get(), field.GetAddressOf())) || !field)
          continue;
        Variant value;
        if (SUCCEEDED(field->GetCurrentPropertyValue(kValueProperty, &value)) && (*value).vt == VT_BSTR)
          return std::wstring((*value).bstrVal, ::SysStringLen((*value).bstrVal));
      }
    }
    // A browser whose field UI Automation did not find may still show it to MSAA.
  }
  return FindThroughMsaa(window, deadline);
}

}  // namespace wendrel::win32

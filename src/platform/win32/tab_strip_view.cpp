#include "platform/win32/tab_strip_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "platform/win32/text.h"

namespace wendrel::win32 {

namespace {
constexpr UINT_PTR kPressWatch = 0x7C1C;
}  // namespace

TabClicks::TabClicks(HWND tabControl) : tabControl_(tabControl) {
  // Without the watch a press dragged off the control would swallow the next click.
  ::SetWindowSubclass(tabControl_, &TabClicks::WatchPresses, kPressWatch, reinterpret_cast<DWORD_PTR>(this));
}

TabClicks::~TabClicks() { ::RemoveWindowSubclass(tabControl_, &TabClicks::WatchPresses, kPressWatch); }

LRESULT CALLBACK TabClicks::WatchPresses(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)
    reinterpret_cast<TabClicks*>(self)->pressSelected_ = false;
  return ::DefSubclassProc(window, message, wParam, lParam);
}

std::optional<int> TabClicks::OnNotify(UINT code) {
  const HWND tabControl = tabControl_;
  const auto selected = static_cast<int>(::SendMessageW(tabControl, TCM_GETCURSEL, 0, 0));
  if (code == TCN_SELCHANGE) {
    pressSelected_ = ::GetKeyState(VK_LBUTTON) < 0;
    if (selected >= 0) return selected;
  } else if (code == NM_CLICK && !std::exchange(pressSelected_, false)) {
    // The release of a press on the selected tab; a release beside the tabs is no tab's click.
    const DWORD at = ::GetMessagePos();
    TCHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ::ScreenToClient(tabControl, &hit.pt);
    const auto index =
        static_cast<int>(::SendMessageW(tabControl, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (index >= 0 && index == selected) return selected;
  }
  return std::nullopt;
}

TabStripView::TabStripView(HWND tabControl, IWindowSystem& windows)
    : tabControl_(tabControl),
      windows_(windows),
      tooltip_(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, ::GetAncestor(tabControl, GA_ROOT), nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr)) {
  // Without a tooltip the strip still works; the tips are just not shown.
  if (!tooltip_) return;
  ::SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, 600);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = tabControl_;
  tool.uId = reinterpret_cast<UINT_PTR>(tabControl_);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SetWindowSubclass(tabControl_, &TabStripView::TipSource, 0, reinterpret_cast<DWORD_PTR>(this));
}

TabStripView::~TabStripView() {
  if (tooltip_) ::RemoveWindowSubclass(tabControl_, &TabStripView::TipSource, 0);
}

LRESULT CALLBACK TabStripView::TipSource(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
  auto& view = *reinterpret_cast<TabStripView*>(self);
  if (message == WM_MOUSEMOVE) {
    // Over another tab the tip shown is taken down; the tooltip shows the new tab's after its delay.
    const int tab = view.TabAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (tab != view.hovered_) {
      view.hovered_ = tab;
      ::SendMessageW(view.tooltip_.get(), TTM_POP, 0, 0);
    }
  } else if (message == WM_NOTIFY) {
    auto& info = *reinterpret_cast<NMTTDISPINFOW*>(lParam);
    if (info.hdr.hwndFrom == view.tooltip_.get() && info.hdr.code == TTN_GETDISPINFOW) {
      POINT at{};
      ::GetCursorPos(&at);
      ::ScreenToClient(window, &at);
      const int tab = view.TabAt(at);
      static wchar_t none[] = L"";
      // An empty text shows no tip.
      info.lpszText =
          tab >= 0 && static_cast<size_t>(tab) < view.tips_.size() ? view.tips_[tab].data() : none;
      info.hinst = nullptr;
      return 0;
    }
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

int TabStripView::TabAt(POINT clientPoint) const {
  TCHITTESTINFO hit{};
  hit.pt = clientPoint;
  return static_cast<int>(::SendMessageW(tabControl_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void TabStripView::InsertTab(int index) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  wchar_t empty[] = L"";
  item.pszText = empty;
  ::SendMessageW(tabControl_, TCM_INSERTITEMW, static_cast<WPARAM>(index - 1),
                 reinterpret_cast<LPARAM>(&item));
  tips_.insert(tips_.begin() + std::min<std::ptrdiff_t>(index - 1, static_cast<std::ptrdiff_t>(tips_.size())),
               L"");
}

void TabStripView::RemoveTab(int index) {
  ::SendMessageW(tabControl_, TCM_DELETEITEM, static_cast<WPARAM>(index - 1), 0);
  if (index >= 1 && static_cast<size_t>(index) <= tips_.size()) tips_.erase(tips_.begin() + (index - 1));
}

void TabStripView::SetCaption(int index, const std::string& caption) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  std::wstring text = Widen(caption);
  item.pszText = text.data();
  ::SendMessageW(tabControl_, TCM_SETITEMW, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&item));
}

void TabStripView::SetToolTip(int index, const std::string& tip) {
  if (index < 1 || static_cast<size_t>(index) > tips_.size()) return;
  tips_[static_cast<size_t>(index - 1)] = Widen(tip);
}

void TabStripView::SetSelected(int index) {
  // TCM_SETCURSEL raises no selection notice, as the program expects; TCM_SETCURFOCUS is
  // avoided because Wine's tab control then ignores clicks.
  ::SendMessageW(tabControl_, TCM_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
}

void TabStripView::SetMultiRow(bool multiRow) {
  LONG_PTR style = ::GetWindowLongPtrW(tabControl_, GWL_STYLE);
  style = multiRow ? (style | TCS_MULTILINE) : (style & ~static_cast<LONG_PTR>(TCS_MULTILINE));
  ::SetWindowLongPtrW(tabControl_, GWL_STYLE, style);
  ::SetWindowPos(tabControl_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

TabRect TabStripView::TabRectangle(int index) {
  RECT r{};
  ::SendMessageW(tabControl_, TCM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
  const auto x = static_cast<float>(windows_.TwipsPerPixelX());
  const auto y = static_cast<float>(windows_.TwipsPerPixelY());
  return {static_cast<float>(r.left) * x, static_cast<float>(r.top) * y,
          static_cast<float>(r.right - r.left) * x, static_cast<float>(r.bottom - r.top) * y};
}

void TabStripView::TabsMoved() {
  hovered_ = -1;
  if (tooltip_) ::SendMessageW(tooltip_.get(), TTM_POP, 0, 0);
}

}  // namespace wendrel::win32

#include "platform/win32/tab_strip_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "platform/win32/text.h"

namespace wendrel::win32 {

std::optional<int> TabClicks::OnNotify(HWND tabControl, UINT code) {
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
  if (tooltip_) ::SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, 600);
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
  RefreshTools();
}

void TabStripView::RemoveTab(int index) {
  ::SendMessageW(tabControl_, TCM_DELETEITEM, static_cast<WPARAM>(index - 1), 0);
  if (index >= 1 && static_cast<size_t>(index) <= tips_.size()) tips_.erase(tips_.begin() + (index - 1));
  RefreshTools();
}

void TabStripView::SetCaption(int index, const std::string& caption) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  std::wstring text = Widen(caption);
  item.pszText = text.data();
  ::SendMessageW(tabControl_, TCM_SETITEMW, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&item));
  RefreshTools();
}

void TabStripView::SetToolTip(int index, const std::string& tip) {
  if (index < 1 || static_cast<size_t>(index) > tips_.size()) return;
  tips_[static_cast<size_t>(index - 1)] = Widen(tip);
  RefreshTools();
}

void TabStripView::SetSelected(int index) {
  // TCM_SETCURSEL raises no selection notice, as the program expects; TCM_SETCURFOCUS is
  // avoided because Wine's tab control then ignores clicks.
  ::SendMessageW(tabControl_, TCM_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
  RefreshTools();
}

void TabStripView::SetMultiRow(bool multiRow) {
  LONG_PTR style = ::GetWindowLongPtrW(tabControl_, GWL_STYLE);
  style = multiRow ? (style | TCS_MULTILINE) : (style & ~static_cast<LONG_PTR>(TCS_MULTILINE));
  ::SetWindowLongPtrW(tabControl_, GWL_STYLE, style);
  ::SetWindowPos(tabControl_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RefreshTools();
}

TabRect TabStripView::TabRectangle(int index) {
  RECT r{};
  ::SendMessageW(tabControl_, TCM_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
  const auto x = static_cast<float>(windows_.TwipsPerPixelX());
  const auto y = static_cast<float>(windows_.TwipsPerPixelY());
  return {static_cast<float>(r.left) * x, static_cast<float>(r.top) * y,
          static_cast<float>(r.right - r.left) * x, static_cast<float>(r.bottom - r.top) * y};
}

void TabStripView::RefreshTools() {
  if (!tooltip_) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = tabControl_;
  for (size_t i = 0; i < tools_; ++i) {
    tool.uId = i + 1;
    ::SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  tools_ = 0;
  for (size_t i = 0; i < tips_.size(); ++i) {
    RECT r{};
    ::SendMessageW(tabControl_, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    tool = TTTOOLINFOW{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = tabControl_;
    tool.uId = i + 1;
    tool.rect = r;
    tool.lpszText = tips_[i].data();
    ::SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ++tools_;
  }
}

}  // namespace wendrel::win32

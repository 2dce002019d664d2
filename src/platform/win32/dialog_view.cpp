// The dialog "Options & More" drawn with standard controls: a tab control with three pages,
// each a coloured panel holding the controls at their designed places (in twips).
#include "platform/win32/win.h"
// After the Windows headers:
#include <commctrl.h>

#include <functional>
#include <map>
#include <optional>

#include "dialog/control_names.h"
#include "dialog/grid.h"
#include "dialog/options_dialog.h"
#include "platform/win32/base_window.h"
#include "platform/win32/dialog_host.h"
#include "platform/win32/strip_window.h"
#include "platform/win32/tab_strip_view.h"
#include "platform/win32/text.h"
#include "platform/win32/window_system.h"
#include "store/settings.h"

namespace wendrel::win32 {
namespace {

constexpr COLORREF kDialogColour = RGB(192, 255, 192);
constexpr COLORREF kOptionsColour = RGB(255, 192, 192);
constexpr COLORREF kTabsColour = RGB(255, 224, 192);
constexpr COLORREF kGroupsColour = RGB(255, 255, 192);
constexpr COLORREF kMessageColour = RGB(192, 192, 255);
constexpr COLORREF kUpdateColour = RGB(192, 255, 192);
constexpr std::int32_t kClientWidth = OptionsDialog::kClientWidth;
constexpr std::int32_t kClientHeight = OptionsDialog::kClientHeight;
// Control identifiers start above IDOK and IDCANCEL, which keyboard handling sends by itself.
constexpr int kFirstId = 1000;

struct Twips {
  std::int32_t left, top, width, height;
};

// A coloured container that hands its controls' notices to the dialog.
class Panel final : public BaseWindow<Panel> {
 public:
  using Forward = std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)>;
  Panel(HWND parent, COLORREF colour, Forward forward)
      : brush_(::CreateSolidBrush(colour)), colour_(colour), forward_(std::move(forward)) {
    Create(WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPSIBLINGS, L"", 0, 0, 0, 0, parent);
  }
  COLORREF Colour() const { return colour_; }
  HBRUSH Brush() const { return AsBrush(brush_); }

  static const wchar_t* ClassName() { return L"WendrelPanel"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_ERASEBKGND:
        return EraseWith(Hwnd(), wParam, Brush());
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
        if (forward_) {
          if (const auto result = forward_(message, wParam, lParam)) return *result;
        }
        break;
      default:
        break;
    }
    return Default(message, wParam, lParam);
  }

 private:
  UniqueGdiObject brush_;
  COLORREF colour_;
  Forward forward_;
};

// The controls of Wendrel.ini's settings, each named by its key: kSetting a check box for a yes/no
// setting, kSettingValue an option button choosing one value, kSettingText an edit box.
enum class Kind {
  kLabel,
  kButton,
  kText,
  kCombo,
  kGrid,
  kOption,
  kLine,
  kSetting,
  kSettingValue,
  kSettingText
};

struct Control {
  std::string name;
  Kind kind;
  HWND window = nullptr;
  Panel* panel = nullptr;
  COLORREF textColour = RGB(0, 0, 0);
  int question = -1;  // option buttons: the question and whether it is the yes button
  bool yes = false;
  std::string shown;  // grids: what the list view shows now, to redraw only on change
  Twips at{};         // the designed place, laid out again when the DPI changes
  std::string value;  // kSettingValue: the value the button stands for
};

class DialogView final : public IDialogView, public BaseWindow<DialogView> {
 public:
  DialogView(OptionsDialog& dialog, DialogHost& host, HWND strip, IWindowSystem& windows)
      : dialog_(dialog),
        host_(host),
        strip_(strip),
        windows_(windows),
        background_(::CreateSolidBrush(kDialogColour)) {
    Create(WS_EX_CONTROLPARENT, kStyle, L"Options & More", 0, 0, 0, 0, nullptr, nullptr,
           ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    // The dialog is drawn at the DPI of its own monitor, which need not be the strip's.
    dpi_ = DpiOf(Hwnd());
    MakeFonts();
    Build();
    FitWindow(0, 0);
    host_.SetCurrent(Hwnd());
  }
  ~DialogView() override { host_.SetCurrent(nullptr); }

  std::int32_t OuterWidth() override { return Outer().right * windows_.TwipsPerPixelX(); }
  std::int32_t OuterHeight() override { return Outer().bottom * windows_.TwipsPerPixelY(); }
  void Move(std::int32_t left, std::int32_t top) override {
    // The program places the dialog in its own twips, those of the strip's DPI.
    ::SetWindowPos(Hwnd(), nullptr, RoundHalfEven(left / static_cast<double>(windows_.TwipsPerPixelX())),
                   RoundHalfEven(top / static_cast<double>(windows_.TwipsPerPixelY())), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Show() override {
    Refresh();
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::SetForegroundWindow(Hwnd());
  }
  void Activate() override {
    if (::IsIconic(Hwnd())) ::ShowWindow(Hwnd(), SW_RESTORE);
    ::SetForegroundWindow(Hwnd());
  }
  void Refresh() override;

  static const wchar_t* ClassName() { return L"WendrelOptions"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_ERASEBKGND:
        return EraseWith(Hwnd(), wParam, AsBrush(background_));
      case WM_CLOSE:
        // Unloading destroys this window: it must wait until this message has been handled.
        ::ShowWindow(Hwnd(), SW_HIDE);
        ::PostMessageW(strip_, StripWindow::kDialogClosed, 0, 0);
        return 0;
      case WM_NOTIFY:
        if (const auto result = OnChild(message, wParam, lParam)) return *result;
        break;
      case WM_DPICHANGED: {
        // Moved to a monitor of another DPI: fonts, controls and the grids' columns follow it.
        const RECT current = Outer(true);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        dpi_ = HIWORD(wParam);
        // The controls let go of the old fonts only when given the new ones.
        const UniqueGdiObject oldBold = std::move(bold_);
        const UniqueGdiObject oldRegular = std::move(regular_);
        MakeFonts();
        Layout();
        FitWindow(suggested ? suggested->left : current.left, suggested ? suggested->top : current.top);
        return 0;
      }
      default:
        break;
    }
    return Default(message, wParam, lParam);
  }

 private:
  static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

  void MakeFonts() {
    bold_ = MakeFont(FW_BOLD, dpi_);
    regular_ = MakeFont(FW_NORMAL, dpi_);
  }
  // Sizes the window around its designed client area at its DPI, with its top-left corner there.
  void FitWindow(int left, int top) {
    // AdjustWindowRectExForDpi came with Windows 10 (1607); before it, the system's DPI was the
    // only one.
    using AdjustForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpiCall>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT outer{0, 0, Px(kClientWidth, true), Px(kClientHeight, false)};
    if (!adjustForDpi || !adjustForDpi(&outer, kStyle, FALSE, WS_EX_CONTROLPARENT, dpi_))
      ::AdjustWindowRectEx(&outer, kStyle, FALSE, WS_EX_CONTROLPARENT);
    ::SetWindowPos(Hwnd(), nullptr, left, top, outer.right - outer.left, outer.bottom - outer.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void Layout();
  void PlacePages();
  static UniqueGdiObject MakeFont(int weight, unsigned dpi) {
    // 8.25 points: 11 pixels at 96 dots per inch.
    return UniqueGdiObject(::CreateFontW(-Scaled(11, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
  }
  // Twips to pixels of the dialog's own DPI (the strip's twips per pixel still place the window).
  int Px(std::int32_t twips, bool) const { return RoundHalfEven(twips * static_cast<double>(dpi_) / 1440.0); }
  RECT Outer(bool onScreen = false) const {
    RECT r{};
    ::GetWindowRect(Hwnd(), &r);
    return onScreen ? r : RECT{0, 0, r.right - r.left, r.bottom - r.top};
  }

  Panel* MakePanel(HWND parent, COLORREF colour) {
    panels_.push_back(std::make_unique<Panel>(
        parent, colour,
        [this](UINT message, WPARAM wParam, LPARAM lParam) { return OnChild(message, wParam, lParam); }));
    return panels_.back().get();
  }
  void Place(HWND window, const Twips& at) {
    ::SetWindowPos(window, nullptr, Px(at.left, true), Px(at.top, false), Px(at.width, true),
                   Px(at.height, false), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Control& Add(Panel* panel, const std::string& name, Kind kind, const char* caption, const Twips& at,
               DWORD style = 0, COLORREF textColour = RGB(0, 0, 0)) {
    const wchar_t* windowClass = L"STATIC";
    DWORD base = WS_CHILD | WS_VISIBLE;
    DWORD ex = 0;
    switch (kind) {
      case Kind::kLabel:
        base |= SS_NOPREFIX;
        break;
      case Kind::kLine:
        base |= SS_BLACKRECT;
        break;
      case Kind::kButton:
        windowClass = L"BUTTON";
        base |= BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP;
        break;
      case Kind::kOption:
        windowClass = L"BUTTON";
        base |= BS_RADIOBUTTON | WS_TABSTOP;
        break;
      case Kind::kSetting:
        windowClass = L"BUTTON";
        base |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
      case Kind::kSettingValue:
        windowClass = L"BUTTON";
        base |= BS_RADIOBUTTON | WS_TABSTOP;
        break;
      case Kind::kSettingText:
      case Kind::kText:
        windowClass = L"EDIT";
        base |= ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER;
        break;
      case Kind::kCombo:
        windowClass = L"COMBOBOX";
        base |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
        break;
      case Kind::kGrid:
        windowClass = WC_LISTVIEWW;
        base |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP | WS_BORDER;
        break;
    }
    const int id = kFirstId + static_cast<int>(controls_.size());
    const HWND window = ::CreateWindowExW(ex, windowClass, Widen(caption).c_str(), base | style, 0, 0, 0, 0,
                                          panel->Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                          ::GetModuleHandleW(nullptr), nullptr);
    if (!window) throw LastError();
    if (kind == Kind::kGrid) {
      ListView_SetExtendedListViewStyle(window, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    }
    controls_.push_back(
        std::make_unique<Control>(Control{name, kind, window, panel, textColour, -1, false, {}, at, {}}));
    PlaceControl(*controls_.back(), FALSE);
    byWindow_[window] = controls_.back().get();
    if (!name.empty()) byName_[name] = controls_.back().get();
    return *controls_.back();
  }

  void PlaceControl(Control& control, BOOL redraw) {
    // A combo box's height includes its drop-down list.
    const Twips& at = control.at;
    Place(control.window,
          control.kind == Kind::kCombo ? Twips{at.left, at.top, at.width, at.height * 6} : at);
    const bool regular = control.kind == Kind::kGrid || control.kind == Kind::kText ||
                         control.kind == Kind::kCombo || control.kind == Kind::kSettingText;
    ::SendMessageW(control.window, WM_SETFONT,
                   reinterpret_cast<WPARAM>(regular ? AsFont(regular_) : AsFont(bold_)), redraw);
  }

  void Build();
  void AddSettings(Panel* options);
  std::optional<LRESULT> OnChild(UINT message, WPARAM wParam, LPARAM lParam);
  void RefreshGrid(Control& control);
  void ApplyFocus();
  std::string WindowText(HWND window) const {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
  }
  static std::string ComboItem(HWND combo, size_t index) {
    const auto length = ::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return Narrow(text);
  }

  OptionsDialog& dialog_;
  DialogHost& host_;
  HWND strip_;
  IWindowSystem& windows_;
  UniqueGdiObject background_;
  unsigned dpi_ = 96;
  UniqueGdiObject bold_;
  UniqueGdiObject regular_;
  HWND tabs_ = nullptr;
  std::vector<std::pair<Panel*, Twips>> placedPanels_;  // the panels inside a page
  std::optional<TabClicks> pageClicks_;
  std::vector<std::unique_ptr<Panel>> panels_;
  std::map<std::string, Panel*> frames_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<HWND, Control*> byWindow_;
  std::map<std::string, Control*> byName_;
  bool refreshing_ = false;
  std::string focused_;
};

// The settings of Wendrel.ini, below the questions and left of the page's buttons, in three rows:
// sign-in and sites as tabs; browser tabs and reading their addresses; the browsers' list and
// where sites open, the whole width of the page below the buttons.
void DialogView::AddSettings(Panel* options) {
  Add(options, kStartWithWindows, Kind::kSetting, "Start Wendrel when I sign in", {120, 4710, 2760, 240},
      WS_GROUP);
  Add(options, "SitesAsTabs", Kind::kSetting, "Sites as tabs", {2940, 4710, 1620, 240});
  Add(options, "TrackBrowsers", Kind::kSetting, "Tabs for browser windows", {120, 4965, 2760, 240});
  Add(options, "ReadAddresses", Kind::kSetting, "Read addresses", {2940, 4965, 1620, 240});
  Add(options, "", Kind::kLabel, "Browsers:", {120, 5265, 840, 240});
  Add(options, "Browsers", Kind::kSettingText, "", {960, 5220, 3000, 270});
  Add(options, "", Kind::kLabel, "Open sites in:", {4050, 5265, 1170, 240});
  Control& chosen =
      Add(options, "OpenIn", Kind::kSettingValue, "default browser", {5250, 5250, 1770, 240}, WS_GROUP);
  chosen.value = "default";
  Control& shell = Add(options, "OpenIn", Kind::kSettingValue, "shell", {7050, 5250, 900, 240});
  shell.value = "shell";
}

void DialogView::Build() {
  tabs_ = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0,
                            0, 0, 0, Hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (!tabs_) throw LastError();
  pageClicks_.emplace(tabs_);
  const wchar_t* captions[] = {L"&Options", L"&Tab Management", L"&Group Management"};
  for (int i = 0; i < 3; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring text = captions[i];
    item.pszText = text.data();
    ::SendMessageW(tabs_, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  Panel* options = MakePanel(Hwnd(), kOptionsColour);
  Panel* tabsPage = MakePanel(Hwnd(), kTabsColour);
  Panel* groups = MakePanel(Hwnd(), kGroupsColour);
  frames_ = {
      {controls::kOptionsFrame, options}, {controls::kTabsFrame, tabsPage}, {controls::kGroupsFrame, groups}};
  PlacePages();

  // Options page. The questions' labels are right-aligned against their answers and reach to the
  // page's left edge, two lines high: the face that stands in for MS Sans Serif is wider than
  // the original, and grows with the DPI.
  Add(options, "saveReminder", Kind::kLabel,
      "Unless the Update button is pressed before leaving the tab, the values will not be saved.",
      {225, 30, 7785, 255}, SS_CENTER, RGB(192, 0, 0));
  Add(options, "yesHeading", Kind::kLabel, "YES", {6105, 285, 570, 255});
  Add(options, "noHeading", Kind::kLabel, "NO", {6600, 285, 675, 255});
  const char* questions[] = {"In Wendrel tabs, can there be more than one line?",
                             "When Wendrel exits, leave all IE Windows open?",
                             "When Wendrel exits, store the IE Window details in the default group file?",
                             "Do you prefer to see the warning messages?",
                             "While starting Wendrel do you prefer to start with the default group? ",
                             "While starting, do you prefer a confirmation before proceeding? "};
  const std::int32_t rowTops[] = {555, 983, 1411, 1839, 2267, 2695};
  const std::int32_t frameTops[] = {570, 1005, 1425, 1860, 2280, 2715};
  for (int i = 0; i < 6; ++i) {
    Add(options, "", Kind::kLabel, questions[i], {60, rowTops[i], 6060, 420}, SS_RIGHT);
    Control& yes = Add(options, "yes(" + std::to_string(i) + ")", Kind::kOption, "",
                       {6195, frameTops[i], 255, 225}, WS_GROUP);
    yes.question = i;
    yes.yes = true;
    Control& no = Add(options, "no(" + std::to_string(i) + ")", Kind::kOption, "",
                      {6195 + 405, frameTops[i], 255, 225});
    no.question = i;
  }
  Add(options, "captionWidthLabel", Kind::kLabel,
      "Number of characters (when short name is not specified) for tab caption", {60, 3123, 6060, 420},
      SS_RIGHT | WS_GROUP);
  Add(options, controls::kCaptionWidthBox, Kind::kText, "", {6195, 3090, 1695, 285});
  Add(options, "", Kind::kLabel, "Default Group for storing the IE window details between sessions",
      {60, 3555, 6060, 400}, SS_RIGHT);
  Add(options, controls::kDefaultGroupBox, Kind::kText, "", {6195, 3540, 1695, 285});
  Add(options, "", Kind::kLabel,
      "The URL details to be displayed on the labels is not immediately known to the Wendrel when an IE is "
      "launched. What name you want to see for such tabs?",
      {60, 3960, 6060, 700}, SS_RIGHT);
  Add(options, controls::kDefaultNameBox, Kind::kText, "", {6195, 4035, 1695, 285});
  AddSettings(options);
  Add(options, controls::kSaveOptions, Kind::kButton, "&Update", {4635, 4695, 1290, 510});
  Add(options, controls::kResetOptions, Kind::kButton, "&Reset", {6390, 4695, 1290, 510});

  // Tab Management page.
  Add(tabsPage, "refreshReminder", Kind::kLabel,
      "The list may not be always automatically updated. If required, press Refresh Tabs button.",
      {75, 30, 8010, 270}, SS_CENTER, RGB(255, 0, 0));
  Add(tabsPage, "selectionHint", Kind::kLabel, "For selection, click a row", {1215, 255, 4620, 255},
      SS_CENTER, RGB(0, 0, 128));
  Add(tabsPage, controls::kTabsGrid, Kind::kGrid, "", {135, 540, 6390, 3225});
  Add(tabsPage, controls::kSelectAllTabs, Kind::kButton, "&Select All", {6705, 585, 1170, 450});
  Add(tabsPage, controls::kDeselectAllTabs, Kind::kButton, "&Deselect All", {6705, 1717, 1170, 450});
  Add(tabsPage, controls::kNameSelectedTab, Kind::kButton, "Short Name...", {6705, 3120, 1170, 450});
  Add(tabsPage, controls::kAddSelectedToGroup, Kind::kButton, "Add Selected to this Group -->",
      {165, 3885, 2355, 450});
  Add(tabsPage, controls::kTargetGroupBox, Kind::kCombo, "", {2857, 3960, 2325, 315});
  Add(tabsPage, controls::kSaveSelectedAsGroup, Kind::kButton, "<-- Save Selected as this Group",
      {5520, 3885, 2355, 450});
  Add(tabsPage, controls::kRefreshSelectedBrowsers, Kind::kButton, "Refresh Selected IE",
      {165, 4635, 2355, 450});
  Add(tabsPage, controls::kRefreshTabs, Kind::kButton, "Refresh Tabs", {2857, 4680, 2355, 450});
  Add(tabsPage, controls::kCloseSelectedBrowsers, Kind::kButton, "Close All Selected IE",
      {5520, 4725, 2355, 450});

  // Group Management page: the group list on the left, the loaded group's lines on the right.
  Add(groups, controls::kGroupNamesGrid, Kind::kGrid, "", {60, 60, 2430, 4260});
  Add(groups, controls::kAddGroup, Kind::kButton, "Add Group", {75, 4335, 1320, 285});
  Add(groups, controls::kDeleteGroup, Kind::kButton, "Delete Group", {593, 4702, 1320, 285});
  Add(groups, controls::kOpenGroup, Kind::kButton, "Open Group", {1110, 5070, 1320, 285});
  Add(groups, controls::kGroupLabel, Kind::kLabel, "", {3135, 90, 4245, 285}, SS_CENTER);
  Add(groups, controls::kGroupLinesGrid, Kind::kGrid, "", {2685, 360, 4245, 2700});
  Add(groups, "verticalRule", Kind::kLine, "", {2550, 15, 15, 5355});
  Add(groups, "horizontalRule", Kind::kLine, "", {2580, 3675, 5310, 15});
  Add(groups, controls::kAddLine, Kind::kButton, "Add ", {6960, 645, 1005, 450});
  Add(groups, controls::kModifyLine, Kind::kButton, "Modify", {6960, 1365, 1005, 450});
  Add(groups, controls::kDeleteLine, Kind::kButton, "Delete", {6960, 2085, 1005, 450});
  Add(groups, controls::kSelectAllLines, Kind::kButton, "Select All", {2640, 3135, 1545, 450});
  Add(groups, controls::kDeselectAllLines, Kind::kButton, "Deselect All", {4530, 3135, 1545, 450});
  Add(groups, controls::kOpenSelectedLines, Kind::kButton, "Open Selected", {6420, 3135, 1545, 450});
  // The editing frame spans from the line grid's left edge to the Add button's right edge;
  // the message frame takes the same place.
  const Twips editArea{2685, 3705, 6960 + 1005 - 2685, 1695};
  Panel* message = MakePanel(groups->Hwnd(), kMessageColour);
  Panel* update = MakePanel(groups->Hwnd(), kUpdateColour);
  placedPanels_ = {{message, editArea}, {update, editArea}};
  for (const auto& [panel, at] : placedPanels_) Place(panel->Hwnd(), at);
  frames_[controls::kHintFrame] = message;
  frames_[controls::kLineEditFrame] = update;
  Add(message, controls::kHintLabel, Kind::kLabel, "To select a name, click the row on the grid",
      {45, 615, 5295, 480}, SS_CENTER);
  Add(update, "groupNameLabel", Kind::kLabel, "Group Name:", {330, 60, 1515, 345}, SS_RIGHT);
  Add(update, "shortNameLabel", Kind::kLabel, "Short Name:", {285, 615, 1560, 360}, SS_RIGHT);
  Add(update, "urlLabel", Kind::kLabel, "URL (No validation):", {60, 1185, 1785, 420}, SS_RIGHT);
  Add(update, controls::kLineGroupBox, Kind::kText, "", {1905, 45, 1560, 345});
  Add(update, controls::kLineShortNameBox, Kind::kText, "", {1905, 570, 1560, 345});
  Add(update, controls::kLineUrlBox, Kind::kText, "", {1905, 1140, 2115, 345});
  Add(update, controls::kSaveLine, Kind::kButton, "&Update", {4080, 135, 1050, 405});
  Add(update, controls::kCancelLine, Kind::kButton, "Cancel", {4125, 810, 1050, 405});
}

// The tab control fills the client area; the pages lie over its display area, above the control.
void DialogView::PlacePages() {
  ::SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(AsFont(bold_)), TRUE);
  ::SetWindowPos(tabs_, nullptr, 0, 0, Px(kClientWidth, true), Px(kClientHeight, false),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  RECT page{0, 0, Px(kClientWidth, true), Px(kClientHeight, false)};
  ::SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  for (const auto& [name, panel] : frames_) {
    if (name == controls::kOptionsFrame || name == controls::kTabsFrame || name == controls::kGroupsFrame) {
      ::SetWindowPos(panel->Hwnd(), HWND_TOP, page.left, page.top, page.right - page.left,
                     page.bottom - page.top, SWP_NOACTIVATE);
    }
  }
}

void DialogView::Layout() {
  PlacePages();
  for (const auto& [panel, at] : placedPanels_) Place(panel->Hwnd(), at);
  for (auto& control : controls_) {
    PlaceControl(*control, TRUE);
    // The grid's columns are laid out again at the new DPI.
    control->shown.clear();
  }
  Refresh();
}

void DialogView::RefreshGrid(Control& control) {
  Grid& grid = dialog_.GridNamed(control.name);
  // Row 0 is the header; the list view's items are rows 1 and below.
  std::string shown;
  for (int col = 0; col < grid.Cols(); ++col) shown += std::to_string(grid.ColWidth(col)) + "\x1f";
  for (int row = 0; row < grid.Rows(); ++row) {
    for (int col = 0; col < grid.Cols(); ++col) shown += grid.Cell(row, col) + "\x1f";
    shown += "\x1e";
  }
  const HWND list = control.window;
  if (shown != control.shown) {
    control.shown = shown;
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    while (ListView_DeleteColumn(list, 0)) {
    }
    for (int col = 0; col < grid.Cols(); ++col) {
      std::wstring header = grid.Rows() > 0 ? Widen(grid.Cell(0, col)) : std::wstring();
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
      column.fmt = LVCFMT_LEFT;
      column.cx = Px(grid.ColWidth(col), true);
      column.pszText = header.data();
      ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(&column));
    }
    for (int row = 1; row < grid.Rows(); ++row) {
      for (int col = 0; col < grid.Cols(); ++col) {
        std::wstring text = Widen(grid.Cell(row, col));
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row - 1;
        item.iSubItem = col;
        item.pszText = text.data();
        ::SendMessageW(list, col == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
      }
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
  }
  // The current row shows as the list's selection.
  const int current = grid.Row() - 1;
  const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  if (selected != current) {
    if (selected >= 0) ListView_SetItemState(list, selected, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (current >= 0)
      ListView_SetItemState(list, current, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
}

void DialogView::Refresh() {
  if (refreshing_) return;
  refreshing_ = true;
  const int page = dialog_.Page();
  if (page >= 1 && static_cast<int>(::SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)) != page - 1) {
    ::SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page - 1), 0);
  }
  for (auto& [name, panel] : frames_) {
    const bool visible = dialog_.Visible(name);
    const bool shown = (::GetWindowLongW(panel->Hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != visible) ::ShowWindow(panel->Hwnd(), visible ? SW_SHOWNA : SW_HIDE);
  }
  for (auto& control : controls_) {
    switch (control->kind) {
      case Kind::kButton:
        ::EnableWindow(control->window, dialog_.Enabled(control->name));
        break;
      case Kind::kSetting:
        ::SendMessageW(control->window, BM_SETCHECK,
                       dialog_.SettingText(control->name) == "yes" ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      case Kind::kSettingValue:
        ::SendMessageW(control->window, BM_SETCHECK,
                       dialog_.SettingText(control->name) == control->value ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      case Kind::kSettingText:
        if (WindowText(control->window) != dialog_.SettingText(control->name)) {
          ::SetWindowTextW(control->window, Widen(dialog_.SettingText(control->name)).c_str());
        }
        break;
      case Kind::kOption: {
        const OptionChoice choice = dialog_.Option(control->question);
        const bool checked = control->yes ? choice == OptionChoice::kYes : choice == OptionChoice::kNo;
        ::SendMessageW(control->window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
      }
      case Kind::kText:
        if (WindowText(control->window) != dialog_.Text(control->name)) {
          ::SetWindowTextW(control->window, Widen(dialog_.Text(control->name)).c_str());
        }
        break;
      case Kind::kCombo: {
        const auto& names = dialog_.GroupNameList();
        const auto count = static_cast<size_t>(::SendMessageW(control->window, CB_GETCOUNT, 0, 0));
        bool same = count == names.size();
        for (size_t i = 0; same && i < names.size(); ++i) {
          same = ComboItem(control->window, i) == names[i];
        }
        if (!same) {
          ::SendMessageW(control->window, CB_RESETCONTENT, 0, 0);
          for (const std::string& name : names) {
            ::SendMessageW(control->window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
          }
        }
        if (WindowText(control->window) != dialog_.Text(control->name)) {
          ::SetWindowTextW(control->window, Widen(dialog_.Text(control->name)).c_str());
        }
        break;
      }
      case Kind::kGrid:
        RefreshGrid(*control);
        break;
      case Kind::kLabel:
        if (control->name == controls::kGroupLabel && WindowText(control->window) != dialog_.GroupLabel()) {
          ::SetWindowTextW(control->window, Widen(dialog_.GroupLabel()).c_str());
        }
        break;
      case Kind::kLine:
        break;
    }
  }
  refreshing_ = false;
  ApplyFocus();
}

void DialogView::ApplyFocus() {
  const std::string& focus = dialog_.Focus();
  if (focus == focused_) return;
  focused_ = focus;
  if (focus == controls::kPageTabs) {
    ::SetFocus(tabs_);
  } else if (const auto found = byName_.find(focus); found != byName_.end()) {
    ::SetFocus(found->second->window);
    if (found->second->kind == Kind::kText) ::SendMessageW(found->second->window, EM_SETSEL, 0, -1);
  }
}

std::optional<LRESULT> DialogView::OnChild(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
    const auto found = byWindow_.find(reinterpret_cast<HWND>(lParam));
    if (found == byWindow_.end()) return std::nullopt;
    const HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, found->second->textColour);
    ::SetBkColor(dc, found->second->panel->Colour());
    return reinterpret_cast<LRESULT>(found->second->panel->Brush());
  }
  if (message == WM_COMMAND) {
    const auto found = byWindow_.find(reinterpret_cast<HWND>(lParam));
    if (found == byWindow_.end()) return std::nullopt;
    Control& control = *found->second;
    const WORD code = HIWORD(wParam);
    if (control.kind == Kind::kButton && code == BN_CLICKED) {
      const std::string before = dialog_.Focus();
      const std::string name = control.name;  // the dialog may be refilled during the click
      dialog_.Click(name);
      if (dialog_.Focus() != before || name == controls::kSaveOptions || name == controls::kSaveLine)
        focused_.clear();
      ApplyFocus();
      return 0;
    }
    if (control.kind == Kind::kSetting && code == BN_CLICKED) {
      const bool checked = ::SendMessageW(control.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
      dialog_.SetSettingText(control.name, checked ? "yes" : "no");
      return 0;
    }
    if (control.kind == Kind::kSettingValue && code == BN_CLICKED) {
      dialog_.SetSettingText(control.name, control.value);
      Refresh();
      return 0;
    }
    if (control.kind == Kind::kSettingText && code == EN_CHANGE && !refreshing_) {
      dialog_.SetSettingText(control.name, WindowText(control.window));
      return 0;
    }
    if (control.kind == Kind::kOption && code == BN_CLICKED) {
      dialog_.ChooseOption(control.question, control.yes);
      return 0;
    }
    if (control.kind == Kind::kText && code == EN_CHANGE && !refreshing_) {
      dialog_.SetText(control.name, WindowText(control.window));
      return 0;
    }
    if (control.kind == Kind::kCombo && !refreshing_) {
      if (code == CBN_EDITCHANGE) dialog_.SetText(control.name, WindowText(control.window));
      if (code == CBN_SELCHANGE) {
        const auto index = ::SendMessageW(control.window, CB_GETCURSEL, 0, 0);
        if (index >= 0) dialog_.SetText(control.name, ComboItem(control.window, static_cast<size_t>(index)));
      }
      return 0;
    }
    return std::nullopt;
  }
  if (message == WM_NOTIFY) {
    const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
    if (header.hwndFrom == tabs_) {
      // A click on the current page's tab runs the page's handling too.
      if (const auto page = pageClicks_->OnNotify(header.code)) dialog_.ShowPage(*page + 1);
      return 0;
    }
    const auto found = byWindow_.find(header.hwndFrom);
    if (found == byWindow_.end() || found->second->kind != Kind::kGrid) return std::nullopt;
    const std::string name = found->second->name;
    if (header.code == NM_CLICK) {
      const int item = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
      if (item >= 0) dialog_.GridClick(name, item + 1);
      return 0;
    }
    if (header.code == LVN_COLUMNCLICK) {
      dialog_.GridClick(name, 0);
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace

std::unique_ptr<IDialogView> DialogHost::CreateView(OptionsDialog& dialog) {
  return std::make_unique<DialogView>(dialog, *this, strip_, windows_);
}

}  // namespace wendrel::win32

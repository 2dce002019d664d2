#include "platform/win32/prompts.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace wendrel::win32 {
namespace {

constexpr int kPromptId = 100;
constexpr int kTextId = 101;

// Lays out an in-memory dialog template: DWORD-aligned items, WORD arrays for strings.
class TemplateWriter {
 public:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  // A NUL-terminated UTF-16 string.
  void Text(std::string_view utf8) {
    for (wchar_t c : Widen(utf8)) Word(static_cast<WORD>(c));
    Word(0);
  }
  void AlignDword() {
    if (words_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const char* text) {
    AlignDword();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF);
    Word(atom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  // std::vector<WORD> keeps WORD alignment; the data start is suitably aligned for DWORDs.
  std::vector<WORD> words_;
};

struct InputState {
  const std::string* prompt;
  const std::string* defaultText;
  std::string result;
};

INT_PTR CALLBACK InputProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<InputState*>(lParam);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      ::SetDlgItemTextW(dialog, kPromptId, Widen(*state->prompt).c_str());
      ::SetDlgItemTextW(dialog, kTextId, Widen(*state->defaultText).c_str());
      ::SendDlgItemMessageW(dialog, kTextId, EM_SETSEL, 0, -1);
      ::SetFocus(::GetDlgItem(dialog, kTextId));
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* state = reinterpret_cast<InputState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        const HWND edit = ::GetDlgItem(dialog, kTextId);
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        state->result = Narrow(text);
        ::EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

Answer Prompts::MessageBox(const std::string& text, Buttons buttons, const std::string& title) {
  UINT type = MB_OK;
  if (buttons == Buttons::kOkCancel) type = MB_OKCANCEL;
  if (buttons == Buttons::kYesNo) type = MB_YESNO;
  switch (::MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(),
                        type | MB_TASKMODAL | MB_SETFOREGROUND)) {
    case IDCANCEL:
      return Answer::kCancel;
    case IDYES:
      return Answer::kYes;
    case IDNO:
      return Answer::kNo;
    default:
      return Answer::kOk;
  }
}

std::optional<std::string> Prompts::InputBox(const std::string& prompt, const std::string& title,
                                             const std::string& defaultText) {
  TemplateWriter t;
  t.Dword(DS_MODALFRAME | DS_CENTER | DS_SETFONT | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);
  t.Word(4);  // items
  t.Word(0);
  t.Word(0);
  t.Word(240);
  t.Word(84);
  t.Word(0);  // no menu
  t.Word(0);  // the standard dialog class
  t.Text(title);
  t.Word(8);
  t.Text("MS Shell Dlg");
  t.Item(SS_LEFT, 7, 7, 170, 48, kPromptId, 0x0082, "");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 186, 7, 47, 14, IDOK, 0x0080, "OK");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 186, 24, 47, 14, IDCANCEL, 0x0080, "Cancel");
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 62, 226, 13, kTextId, 0x0081, "");
  InputState state{&prompt, &defaultText, {}};
  const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), t.Get(), nullptr, &InputProc,
                                                   reinterpret_cast<LPARAM>(&state));
  if (result != IDOK) return std::nullopt;
  return state.result;
}

std::optional<std::string> Prompts::PopupMenu(const std::vector<MenuItem>& menu) {
  UniqueMenu root(::CreatePopupMenu());
  if (!root) return std::nullopt;
  HMENU submenu = nullptr;
  for (size_t i = 0; i < menu.size(); ++i) {
    const MenuItem& item = menu[i];
    const UINT_PTR id = i + 1;
    const UINT grey = item.enabled ? 0u : MF_GRAYED;
    if (item.level == 1) {
      const bool opensSubmenu = i + 1 < menu.size() && menu[i + 1].level == 2;
      if (item.caption == "-") {
        ::AppendMenuW(root.get(), MF_SEPARATOR, 0, nullptr);
      } else if (opensSubmenu) {
        // The root menu owns and destroys the submenu.
        submenu = ::CreatePopupMenu();
        ::AppendMenuW(root.get(), MF_POPUP | MF_STRING | grey, reinterpret_cast<UINT_PTR>(submenu),
                      Widen(item.caption).c_str());
      } else {
        ::AppendMenuW(root.get(), MF_STRING | grey, id, Widen(item.caption).c_str());
        submenu = nullptr;
      }
    } else if (item.level == 2 && submenu) {
      if (item.caption == "-") {
        ::AppendMenuW(submenu, MF_SEPARATOR, 0, nullptr);
      } else {
        ::AppendMenuW(submenu, MF_STRING | grey, id, Widen(item.caption).c_str());
      }
    }
  }
  const HWND owner = ToHwnd(strip_.Handle());
  POINT at{};
  ::GetCursorPos(&at);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  ::SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(::TrackPopupMenu(
      root.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
  ::PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen == 0 || chosen > menu.size()) return std::nullopt;
  return menu[chosen - 1].name;
}

}  // namespace wendrel::win32

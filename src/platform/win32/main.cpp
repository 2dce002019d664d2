// The program's entry: builds Wendrel on the Windows platform and runs its message loop.
#include "platform/win32/win.h"
// After the Windows headers:
#include <commctrl.h>
#include <objbase.h>

#include "dialog/dialog_slot.h"
#include "platform/win32/app_windows.h"
#include "platform/win32/dialog_host.h"
#include "platform/win32/file_system.h"
#include "platform/win32/guard.h"
#include "platform/win32/prompts.h"
#include "platform/win32/shell.h"
#include "platform/win32/sign_in.h"
#include "platform/win32/strip_window.h"
#include "platform/win32/tab_strip_view.h"
#include "platform/win32/text.h"
#include "platform/win32/timer.h"
#include "platform/win32/tray.h"
#include "platform/win32/window_system.h"
#include "program.h"

namespace wendrel::win32 {
namespace {

// Hands what happens on the strip window to the program.
class ProgramEvents final : public StripEvents {
 public:
  ProgramEvents(Program& program, IWindowSystem& windows, Tray& tray)
      : program_(program), windows_(windows), tray_(tray) {}

  void Close() override { program_.CloseStrip(); }
  void SurfaceMouseUp(std::int16_t button, float x, float y) override {
    program_.trayMenu().OnStripMouseUp(button, 0, x, y);
  }
  void ImageClick() override { program_.trayMenu().OnImageClick(); }
  void TrayNotification(std::uint32_t mouseMessage) override {
    program_.trayMenu().OnTrayNotification(
        0, 0, static_cast<float>(mouseMessage) * static_cast<float>(windows_.TwipsPerPixelX()), 0);
  }
  void TabClicked(int index) override { program_.strip().SelectTab(index); }
  void TabStripRightClick(float x, float y) override { program_.strip().OnTabStripMouseUp(2, 0, x, y); }
  void TaskbarCreated() override {
    tray_.AddAgain();
    program_.strip().ShellRestarted();
  }
  void DialogClosed() override { program_.dialog().Unload(); }
  void SessionEndAnnounced() override { program_.SessionEndAnnounced(); }
  void SessionEnding() override { program_.EndSession(); }
  void DesktopChanged() override {
    tray_.FollowDpi();
    program_.strip().FollowWorkArea();
  }

 private:
  Program& program_;
  IWindowSystem& windows_;
  Tray& tray_;
};

// Keeps COM initialised on the user-interface thread for the program's life.
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (ok_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool ok_;
};

int Run() {
  ComApartment com;
  INITCOMMONCONTROLSEX controls{
      sizeof(controls), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);

  WindowSystem windows;
  // The guard is started by the one running instance only, before it touches any window.
  windows.SetOnInstanceClaimed([] { StartGuard(); });
  StripWindow strip(windows);
  TabStripView tabStrip(strip.TabControl(), windows);
  strip.SetTabStripResized([&tabStrip] { tabStrip.TabsMoved(); });
  Timer timer;
  Shell shell;
  Tray tray;
  Prompts prompts(strip);
  FileSystem files;
  DialogHost dialogs(strip.Hwnd(), windows);
  AppWindows appWindows;
  Programs programs;
  SignIn signIn;
  Program program(Platform{windows, strip, tabStrip, timer, shell, tray, prompts, files, dialogs, appWindows,
                           programs, signIn});
  ProgramEvents events(program, windows, tray);
  strip.SetEvents(&events);

  try {
    if (!program.Start()) return 0;
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      const HWND dialog = dialogs.Current();
      if (dialog && ::IsDialogMessageW(dialog, &message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  } catch (...) {
    // A failure that ends the program still gives the windows back before it is reported.
    program.GiveWindowsBack();
    throw;
  }
  // The loop only ends when someone else told the thread to quit: the windows go back all the same.
  program.GiveWindowsBack();
  return 0;
}

}  // namespace
}  // namespace wendrel::win32

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The guard too ends at once on a crash: a crash dialog would keep it, unseen, for good.
  wendrel::win32::EndAtOnceOnCrash();
  if (wendrel::win32::RunGuardIfAsked()) return 0;
  try {
    return wendrel::win32::Run();
  } catch (const std::exception& error) {
    ::MessageBoxW(nullptr, wendrel::win32::Widen(error.what()).c_str(), L"Wendrel", MB_OK);
    return 1;
  }
}

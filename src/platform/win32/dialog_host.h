// Creates the window of the dialog "Options & More" for each load of the dialog.
#pragma once

#include "platform/dialog_view.h"
#include "platform/win32/win.h"
#include "platform/window_system.h"

namespace wendrel::win32 {

class DialogHost final : public IDialogHost {
 public:
  // The strip window is told when the dialog's window closes, so that the dialog is unloaded
  // once its own window procedure has returned.
  DialogHost(HWND strip, IWindowSystem& windows) : strip_(strip), windows_(windows) {}

  std::unique_ptr<IDialogView> CreateView(OptionsDialog& dialog) override;
  // The dialog's window while one is loaded, for keyboard navigation in the message loop.
  HWND Current() const { return current_; }
  void SetCurrent(HWND window) { current_ = window; }

 private:
  HWND strip_;
  IWindowSystem& windows_;
  HWND current_ = nullptr;
};

}  // namespace wendrel::win32

// Everything the core reaches the platform through, handed to the composition root.
#pragma once

#include "platform/app_windows.h"
#include "platform/dialog_view.h"
#include "platform/file_system.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/sign_in.h"
#include "platform/strip_window.h"
#include "platform/tab_strip_view.h"
#include "platform/timer.h"
#include "platform/tray.h"
#include "platform/window_system.h"

namespace wendrel {

struct Platform {
  IWindowSystem& windows;
  IStripWindow& strip;
  ITabStripView& tabStrip;
  ITimer& timer;
  IShell& shell;
  ITray& tray;
  IPrompts& prompts;
  IFileSystem& files;
  IDialogHost& dialogs;
  IAppWindows& appWindows;
  IPrograms& programs;
  ISignIn& signIn;
};

}  // namespace wendrel

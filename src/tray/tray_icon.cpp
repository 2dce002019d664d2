#include "tray/tray_icon.h"

#include "platform/strip_window.h"

namespace wendrel {

std::string TrayTipText() {
  std::string tip = "Wendrel\rClick on either button to proceed.";
  tip += '\0';
  tip.resize(64, ' ');
  return tip;
}

TrayIcon::TrayIcon(ITray& tray, IStripWindow& strip) : tray_(tray), strip_(strip) {}

void TrayIcon::Prepare() {
  data_ = TrayIconData{};
  data_.hWnd = strip_.Handle();
  data_.hIcon = strip_.IconHandle();
  data_.szTip = TrayTipText();
}

void TrayIcon::Add() { tray_.Shell_NotifyIconA(kNimAdd, data_); }

void TrayIcon::Delete() { tray_.Shell_NotifyIconA(kNimDelete, data_); }

}  // namespace wendrel

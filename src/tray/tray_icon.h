// The tray icon record, built once at start and passed unchanged to both tray calls.
#pragma once

#include "platform/tray.h"

namespace wendrel {

class IStripWindow;

// "Wendrel", CR, the hint, a NUL, then spaces up to 64 characters.
std::string TrayTipText();

class TrayIcon {
 public:
  TrayIcon(ITray& tray, IStripWindow& strip);

  void Prepare();
  void Add();
  void Delete();
  const TrayIconData& Data() const { return data_; }

 private:
  ITray& tray_;
  IStripWindow& strip_;
  TrayIconData data_;
};

}  // namespace wendrel

// The strip window's own surface: its frame, image and tab-strip placement, in twips.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace wendrel {

struct TwipBounds {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const TwipBounds&) const = default;
};

class IStripWindow {
 public:
  IStripWindow() = default;
  IStripWindow(const IStripWindow&) = delete;
  IStripWindow& operator=(const IStripWindow&) = delete;
  virtual ~IStripWindow() = default;

  virtual WindowHandle Handle() = 0;
  // The handle of the window's own icon, also shown in the tray.
  virtual std::int64_t IconHandle() = 0;

  virtual void SetBounds(const TwipBounds& bounds) = 0;
  virtual void SetImagePosition(std::int32_t left, std::int32_t top) = 0;
  virtual void SetFrameBounds(const TwipBounds& bounds) = 0;
  virtual void SetTabStripBounds(const TwipBounds& bounds) = 0;

  // Shows the window modeless; may throw PlatformError.
  virtual void Show() = 0;
  virtual void SetFocus() = 0;
  // Window state normal (not minimised or maximised).
  virtual void Restore() = 0;
};

}  // namespace wendrel

// The strip window: a borderless bar with the program icon at its left end and the
// frame holding the tab control; it receives the tray's notifications.
#pragma once

#include "platform/win32/win.h"
// After the Windows headers:
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>

#include "platform/strip_window.h"
#include "platform/win32/base_window.h"
#include "platform/win32/tab_strip_view.h"
#include "platform/win32/window_system.h"

namespace wendrel::win32 {

// What happens on the strip, in the program's terms; positions are in twips.
class StripEvents {
 public:
  StripEvents() = default;
  StripEvents(const StripEvents&) = delete;
  StripEvents& operator=(const StripEvents&) = delete;
  virtual ~StripEvents() = default;

  virtual void Close() = 0;
  virtual void SurfaceMouseUp(std::int16_t button, float x, float y) = 0;
  virtual void ImageClick() = 0;
  // The tray's callback: the mouse message that happened on the icon.
  virtual void TrayNotification(std::uint32_t mouseMessage) = 0;
  // The user clicked tab `index` (1-based); the control has already selected it.
  virtual void TabClicked(int index) = 0;
  virtual void TabStripRightClick(float x, float y) = 0;
  virtual void TaskbarCreated() = 0;
  virtual void DialogClosed() = 0;
  // The end of the user's session is announced; every window is still open.
  virtual void SessionEndAnnounced() = 0;
  // The user's session is ending: the process may be ended at any moment after this returns.
  virtual void SessionEnding() = 0;
  // The work area, the display or the DPI changed: the strip and its windows follow.
  virtual void DesktopChanged() = 0;
};

// The frame around the tab control: a coloured child that passes the control's notices on.
class FrameWindow final : public BaseWindow<FrameWindow> {
 public:
  using NotifyHandler = std::function<void(const NMHDR&)>;
  FrameWindow(HWND parent, COLORREF colour, NotifyHandler onNotify);
  HBRUSH Brush() const { return AsBrush(brush_); }

  static const wchar_t* ClassName() { return L"WendrelFrame"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  UniqueGdiObject brush_;
  NotifyHandler onNotify_;
};

class StripWindow final : public IStripWindow, public BaseWindow<StripWindow> {
 public:
  // Private message: the dialog's window has closed and the dialog may be unloaded now.
  static constexpr UINT kDialogClosed = WM_APP + 1;

  explicit StripWindow(WindowSystem& windows);
  ~StripWindow() override;

  void SetEvents(StripEvents* events) { events_ = events; }
  // Called after the tab control has been moved or resized.
  void SetTabStripResized(std::function<void()> handler) { onTabStripResized_ = std::move(handler); }
  HWND TabControl() const { return tabControl_; }

  WindowHandle Handle() override { return FromHwnd(Hwnd()); }
  std::int64_t IconHandle() override { return reinterpret_cast<std::intptr_t>(icon_.get()); }
  void SetBounds(const TwipBounds& bounds) override;
  void SetImagePosition(std::int32_t left, std::int32_t top) override;
  void SetFrameBounds(const TwipBounds& bounds) override;
  void SetTabStripBounds(const TwipBounds& bounds) override;
  void Show() override;
  void SetFocus() override;
  void Restore() override;

  static const wchar_t* ClassName() { return L"WendrelStrip"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  RECT ToPixels(const TwipBounds& bounds) const;
  void OnTabNotify(const NMHDR& header);
  // The image and the tab font at the DPI the strip is drawn with.
  void SizeForDpi();

  WindowSystem& windows_;
  StripEvents* events_ = nullptr;
  std::function<void()> onTabStripResized_;
  UniqueIcon icon_;       // the window's and the tray's icon, 32 x 32
  UniqueIcon imageIcon_;  // the strip image's, sized for the DPI
  UniqueGdiObject background_;
  UniqueGdiObject font_;
  HWND image_ = nullptr;  // children are destroyed with the strip
  std::unique_ptr<FrameWindow> frame_;
  HWND tabControl_ = nullptr;
  std::optional<TabClicks> tabClicks_;
  UINT taskbarCreated_ = 0;
};

}  // namespace wendrel::win32

// The drawn dialog "Options & More": renders the core's dialog model and reports the user's
// actions back to it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace wendrel {

class OptionsDialog;

class IDialogView {
 public:
  IDialogView() = default;
  IDialogView(const IDialogView&) = delete;
  IDialogView& operator=(const IDialogView&) = delete;
  virtual ~IDialogView() = default;

  // The window's outer size in twips, for centring it on the screen.
  virtual std::int32_t OuterWidth() = 0;
  virtual std::int32_t OuterHeight() = 0;
  virtual void Move(std::int32_t left, std::int32_t top) = 0;
  // Shows the window modeless, with no owner.
  virtual void Show() = 0;
  // Brings the shown window forward and gives it the focus.
  virtual void Activate() = 0;
  // Draws the model again (texts, marks, grids, visible frames, enabling, focus).
  virtual void Refresh() = 0;
};

class IDialogHost {
 public:
  IDialogHost() = default;
  IDialogHost(const IDialogHost&) = delete;
  IDialogHost& operator=(const IDialogHost&) = delete;
  virtual ~IDialogHost() = default;

  // Creates the window for a freshly loaded dialog; destroying the view destroys the window.
  virtual std::unique_ptr<IDialogView> CreateView(OptionsDialog& dialog) = 0;
};

}  // namespace wendrel

// The dialog "Options & More" is created on demand and may be loaded again after it closes.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace wendrel {

class OptionsDialog;

class DialogSlot {
 public:
  // Builds and loads a dialog that opens on the page StartPage names.
  using Factory = std::function<std::unique_ptr<OptionsDialog>(const std::string& startPage)>;

  DialogSlot();
  ~DialogSlot();
  DialogSlot(const DialogSlot&) = delete;
  DialogSlot& operator=(const DialogSlot&) = delete;

  void SetFactory(Factory factory) { factory_ = std::move(factory); }

  // Sets StartPage ("T" Tab Management, anything else Group Management), loads the
  // dialog when it is not loaded, and shows it; a loaded dialog only comes forward.
  void Show(const std::string& startPage);
  // The loaded dialog, or null.
  OptionsDialog* Loaded() const { return dialog_.get(); }
  // Gives the loaded dialog the focus.
  void Activate();
  // The user closed the dialog. Must not be called from inside the dialog's own handlers.
  void Unload();
  const std::string& StartPage() const { return startPage_; }

 private:
  Factory factory_;
  std::string startPage_;
  std::unique_ptr<OptionsDialog> dialog_;
};

}  // namespace wendrel

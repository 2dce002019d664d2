// Message boxes, the input box and the popup menu.
#pragma once

#include "platform/prompts.h"
#include "platform/strip_window.h"

namespace wendrel::win32 {

class Prompts final : public IPrompts {
 public:
  // Menus belong to the strip window: it must be in the foreground for the menu to close.
  explicit Prompts(IStripWindow& strip) : strip_(strip) {}

  Answer MessageBox(const std::string& text, Buttons buttons, const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> PopupMenu(const std::vector<MenuItem>& menu) override;

 private:
  IStripWindow& strip_;
};

}  // namespace wendrel::win32

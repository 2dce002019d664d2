// Modal message boxes, input boxes and the popup menu.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace wendrel {

enum class Buttons { kOk, kOkCancel, kYesNo };
enum class Answer { kOk, kCancel, kYes, kNo };

struct MenuItem {
  std::string name;     // about, nameActiveTab, ...
  std::string caption;  // "-" is a separator
  int level = 1;        // 0 the popup root, 1 its items, 2 the items of the submenu above them
  bool enabled = true;
};

class IPrompts {
 public:
  IPrompts() = default;
  IPrompts(const IPrompts&) = delete;
  IPrompts& operator=(const IPrompts&) = delete;
  virtual ~IPrompts() = default;

  // A plain box without icon.
  virtual Answer MessageBox(const std::string& text, Buttons buttons, const std::string& title) = 0;
  // The text entered, or nothing on Cancel.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText) = 0;
  // Pops the menu tree up at the mouse position; the chosen item's name, or nothing.
  virtual std::optional<std::string> PopupMenu(const std::vector<MenuItem>& menu) = 0;
};

}  // namespace wendrel

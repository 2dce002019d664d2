// What the dialog's pages share: which frames show, which buttons are enabled, the texts of the
// text boxes, the control with the focus, the drawn window to refresh, and the message boxes.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace wendrel {

class IDialogView;
class IPrompts;

class DialogFrame {
 public:
  explicit DialogFrame(IPrompts& prompts);
  ~DialogFrame();
  DialogFrame(const DialogFrame&) = delete;
  DialogFrame& operator=(const DialogFrame&) = delete;

  void SetView(std::unique_ptr<IDialogView> view);
  // The drawn window, or null before the load.
  IDialogView* View() const { return view_.get(); }
  // Has the drawn window show the state again.
  void Refresh();

  bool Visible(const std::string& frame) const;
  void Show(const std::string& frame, bool visible) { visible_[frame] = visible; }
  bool Enabled(const std::string& button) const;
  void Enable(const std::string& button, bool enabled) { enabled_[button] = enabled; }

  // The text of a text box; empty for a name that is none.
  const std::string& Text(const std::string& box) const;
  bool HasTextBox(const std::string& box) const { return texts_.contains(box); }
  void SetText(const std::string& box, const std::string& text) { texts_[box] = text; }

  const std::string& Focus() const { return focus_; }
  void SetFocus(const std::string& control) { focus_ = control; }

  // Message boxes under the program's title.
  void Message(const std::string& text);
  bool Confirm(const std::string& question);
  // The answer typed into an input box; empty when cancelled.
  std::string Ask(const std::string& prompt, const std::string& defaultText);

 private:
  IPrompts& prompts_;
  std::unique_ptr<IDialogView> view_;
  std::map<std::string, bool> visible_;
  std::map<std::string, bool> enabled_;
  std::map<std::string, std::string> texts_;
  std::string focus_;
};

}  // namespace wendrel

#include "dialog/dialog_frame.h"

#include "dialog/control_names.h"
#include "platform/dialog_view.h"
#include "platform/prompts.h"

namespace wendrel {

DialogFrame::DialogFrame(IPrompts& prompts) : prompts_(prompts) {
  for (const std::string& button : controls::Buttons()) enabled_[button] = true;
  for (const std::string& frame : controls::Frames()) visible_[frame] = false;
  for (const std::string& box : controls::TextBoxes()) texts_[box] = "";
  texts_[controls::kTargetGroupBox] = "";
  visible_[controls::kHintFrame] = true;
}

DialogFrame::~DialogFrame() = default;

void DialogFrame::SetView(std::unique_ptr<IDialogView> view) { view_ = std::move(view); }

void DialogFrame::Refresh() {
  if (view_) view_->Refresh();
}

bool DialogFrame::Visible(const std::string& frame) const {
  const auto found = visible_.find(frame);
  return found != visible_.end() && found->second;
}

bool DialogFrame::Enabled(const std::string& button) const {
  const auto found = enabled_.find(button);
  return found != enabled_.end() && found->second;
}

const std::string& DialogFrame::Text(const std::string& box) const {
  static const std::string kNone;
  const auto found = texts_.find(box);
  return found == texts_.end() ? kNone : found->second;
}

void DialogFrame::Message(const std::string& text) { prompts_.MessageBox(text, Buttons::kOk, "Wendrel"); }

bool DialogFrame::Confirm(const std::string& question) {
  return prompts_.MessageBox(question, Buttons::kYesNo, "Wendrel") != Answer::kNo;
}

std::string DialogFrame::Ask(const std::string& prompt, const std::string& defaultText) {
  return prompts_.InputBox(prompt, "Wendrel", defaultText).value_or("");
}

}  // namespace wendrel

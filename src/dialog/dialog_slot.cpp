#include "dialog/dialog_slot.h"

#include "dialog/options_etc.h"

namespace wendrel {

DialogSlot::DialogSlot() = default;
DialogSlot::~DialogSlot() = default;

void DialogSlot::Show(const std::string& optionsStartPage) {
  OptionsStartPage_ = optionsStartPage;
  if (dialog_) {
    dialog_->Activate();
    return;
  }
  dialog_ = factory_(OptionsStartPage_);
}

void DialogSlot::Activate() {
  if (dialog_) dialog_->Activate();
}

void DialogSlot::Unload() { dialog_.reset(); }

}  // namespace wendrel

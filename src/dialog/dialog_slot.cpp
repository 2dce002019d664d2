#include "dialog/dialog_slot.h"

#include "dialog/options_dialog.h"

namespace wendrel {

DialogSlot::DialogSlot() = default;
DialogSlot::~DialogSlot() = default;

void DialogSlot::Show(const std::string& startPage) {
  startPage_ = startPage;
  if (dialog_) {
    dialog_->Activate();
    return;
  }
  dialog_ = factory_(startPage_);
}

void DialogSlot::Activate() {
  if (dialog_) dialog_->Activate();
}

void DialogSlot::Unload() { dialog_.reset(); }

}  // namespace wendrel

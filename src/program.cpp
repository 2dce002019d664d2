#include "program.h"

#include "dialog/options_etc.h"

namespace wendrel {

Program::Program(const Platform& platform)
    : platform_(platform),
      optionsFile_(options_, platform.files, platform.prompts),
      browsers_(platform.shell, options_),
      mainForm_(platform_, options_, optionsFile_, browsers_, *this),
      groups_(mainForm_, browsers_, options_, platform.files, platform.prompts),
      trayIcon_(platform.tray, platform.strip),
      activeTab_(mainForm_, browsers_, options_, platform.prompts, *this),
      shutdown_(mainForm_, groups_, browsers_, optionsFile_, trayIcon_, options_, platform.windows,
                platform.prompts),
      trayMenu_(platform_, mainForm_, groups_, activeTab_, shutdown_, dialog_) {
  groups_.SetWrittenHandler([this](const std::string& name) {
    if (OptionsEtc* dialog = dialog_.Loaded()) dialog->GroupWritten(name);
  });
  dialog_.SetFactory([this](const std::string& optionsStartPage) {
    auto dialog = std::make_unique<OptionsEtc>(mainForm_, groups_, browsers_, options_, optionsFile_,
                                               platform_.files, platform_.prompts, platform_.windows);
    dialog->Load(platform_.dialogs, optionsStartPage);
    return dialog;
  });
}

Program::~Program() = default;

bool Program::Start() { return mainForm_.Load(); }

void Program::RefreshTabDialog() {
  if (OptionsEtc* dialog = dialog_.Loaded()) dialog->SetTabs();
}

}  // namespace wendrel

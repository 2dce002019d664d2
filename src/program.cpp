#include "program.h"

#include "dialog/options_dialog.h"

namespace wendrel {

Program::Program(const Platform& platform)
    : platform_(platform),
      filesFolder_(ChooseFilesFolder(platform.files)),
      optionsFile_(options_, platform.files, platform.prompts, filesFolder_.path),
      settingsFile_(settings_, platform.files, platform.prompts, filesFolder_.path),
      browsers_(platform.shell, platform.appWindows, platform.programs, platform.timer, options_, settings_),
      strip_(platform_, options_, optionsFile_, browsers_, *this, filesFolder_.path),
      groupFiles_(platform.files, platform.prompts, filesFolder_.path),
      groups_(strip_, browsers_, options_, groupFiles_, platform.prompts),
      trayIcon_(platform.tray, platform.strip),
      activeTab_(strip_, browsers_, options_, platform.prompts, *this),
      shutdown_(strip_, groups_, browsers_, optionsFile_, trayIcon_, options_, platform.windows,
                platform.prompts),
      trayMenu_(platform_, strip_, groups_, activeTab_, shutdown_, dialog_, filesFolder_.path) {
  groupFiles_.SetWrittenHandler([this](const std::string& name) {
    if (OptionsDialog* dialog = dialog_.Loaded()) dialog->GroupWritten(name);
  });
  dialog_.SetFactory([this](const std::string& startPage) {
    auto dialog = std::make_unique<OptionsDialog>(strip_, groups_, browsers_, options_, optionsFile_,
                                                  settingsFile_, platform_.files, platform_.prompts,
                                                  platform_.windows, platform_.signIn);
    dialog->Load(platform_.dialogs, startPage);
    return dialog;
  });
}

Program::~Program() = default;

bool Program::Start() { return strip_.Start(); }

void Program::RefreshTabDialog() {
  if (OptionsDialog* dialog = dialog_.Loaded()) dialog->RefillTabs();
}

}  // namespace wendrel

#include "dialog/options_etc.h"

#include "platform/dialog_view.h"

namespace wendrel {

OptionsEtc::OptionsEtc(MainForm& mainForm, GroupStore& groups, BrowserOps& browsers, Options& options,
                       OptionsFile& optionsFile, IFileSystem& files, IPrompts& prompts, IWindowSystem& windows)
    : mainForm_(mainForm),
      groups_(groups),
      browsers_(browsers),
      options_(options),
      optionsFile_(optionsFile),
      files_(files),
      prompts_(prompts),
      windows_(windows) {}

OptionsEtc::~OptionsEtc() = default;

}  // namespace wendrel

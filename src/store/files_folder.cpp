#include "store/files_folder.h"

#include <vector>

#include "platform/file_system.h"
#include "platform/prompts.h"
#include "platform/types.h"

namespace wendrel {
namespace {

// Copies one file's text; a failure is noted for the user, never stops the others.
void CopyText(IFileSystem& files, const std::string& from, const std::string& to, const std::string& name,
              std::string& failures) {
  try {
    if (files.FileExists(from)) files.ReplaceFile(to, files.ReadFile(from));
  } catch (const PlatformError& error) {
    failures += "\r\n" + name + ": " + error.Description();
  }
}

}  // namespace

FilesFolder ChooseFilesFolder(IFileSystem& files) {
  const std::string program = files.ProgramFolder();
  if (files.CanWriteIn(program)) return {program, true};
  const std::string appData = files.LocalAppDataFolder();
  // With nowhere better to go the files stay beside the program, and each failed write says so.
  if (appData.empty()) return {program, true};
  return {appData + "\\Wendrel", false};
}

void PrepareFilesFolder(const FilesFolder& folder, IFileSystem& files, IPrompts& prompts) {
  if (folder.besideProgram) return;
  try {
    files.CreateFolder(folder.path);
  } catch (const PlatformError&) {
    // Already there from an earlier start (the user has been told), or it cannot be made: then
    // every write into it reports its own failure.
    return;
  }
  const std::string program = files.ProgramFolder();
  std::string failures;
  for (const char* name : {"Wendrel.CFG", "Wendrel.ini"}) {
    CopyText(files, program + "\\" + name, folder.path + "\\" + name, name, failures);
  }
  const std::vector<std::string> groups = files.ListFiles(program + "\\Groups", ".WDX");
  if (!groups.empty()) {
    try {
      files.CreateFolder(folder.path + "\\Groups");
      for (const std::string& group : groups) {
        CopyText(files, program + "\\Groups\\" + group, folder.path + "\\Groups\\" + group,
                 "Groups\\" + group, failures);
      }
    } catch (const PlatformError& error) {
      failures += "\r\nGroups: " + error.Description();
    }
  }
  std::string text = "Wendrel cannot write in its own folder, " + program +
                     ", so it keeps its options and groups in " + folder.path +
                     " from now on. Options and groups already beside the program have been copied "
                     "there; the originals are left as they were.";
  if (!failures.empty()) text += "\r\n\r\nThese could not be copied:" + failures;
  prompts.MessageBox(text, Buttons::kOk, "Wendrel");
}

}  // namespace wendrel

// Where Wendrel keeps its files (Wendrel.CFG, Wendrel.ini, Groups\ and Wendrel.Taskbar):
// beside the program, or, when the program's folder cannot be written (a program installed
// under Program Files), in the user's local application-data folder.
#pragma once

#include <string>

namespace wendrel {

class IFileSystem;
class IPrompts;

struct FilesFolder {
  std::string path;  // without a final separator
  bool besideProgram = true;
};

// Decides where the files are. Only looks, changes nothing: the guard process decides the
// same way and finds the same folder.
FilesFolder ChooseFilesFolder(IFileSystem& files);

// Makes an application-data folder ready the first time it is used: makes it, copies the
// options and groups found beside the program into it (the originals stay where they are) and
// tells the user where the files now live. Once the folder exists it does nothing.
void PrepareFilesFolder(const FilesFolder& folder, IFileSystem& files, IPrompts& prompts);

}  // namespace wendrel

// The words scenario scripts use for the dialog's controls and the popup menu's items. Scripts
// keep their words whatever the program calls things: the runner reads a script word as the
// program's name and prints the program's names back as script words.
#pragma once

#include <string>

namespace wendrel::sim {

// The program's name for a script word; a word the table does not hold stands for itself.
std::string ProgramName(const std::string& scriptWord);

// The script word for one of the program's names; a name the table does not hold stands for itself.
std::string ScriptWord(const std::string& programName);

}  // namespace wendrel::sim

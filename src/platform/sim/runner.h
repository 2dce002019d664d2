// The scenario runner: reads a script of what the user and the browsers do, drives the
// program on the simulated desktop, and prints what happens.
#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/sim/script_words.h"
#include "platform/sim/sim_desktop.h"
#include "program.h"

namespace wendrel::sim {

class ScenarioRunner {
 public:
  // The transcript goes to `out`; `folder` is the program's folder (real files).
  ScenarioRunner(std::ostream& out, std::string folder);
  ~ScenarioRunner();
  ScenarioRunner(const ScenarioRunner&) = delete;
  ScenarioRunner& operator=(const ScenarioRunner&) = delete;

  // Runs the whole script. 0 when it ran to its end; 2 after writing "line N: reason" to `err`.
  int Run(std::istream& script, std::ostream& err);
  // Runs one line; throws SimError for a script error.
  void RunLine(const std::string& line);

  SimDesktop& desktop() { return desktop_; }
  // The program once started, or null.
  Program* program() { return program_.get(); }

 private:
  using Words = std::vector<Word>;

  void Execute(const Words& words);
  void RunWorld(const Words& words);
  void RunPending(const Words& words);
  void RunApp(const Words& words);
  static bool IsAppCommand(const std::string& command);
  void RunUser(const Words& words);
  void RunAnswer(const Words& words);
  void RunDialog(const Words& words);
  void RunShow(const Words& words);
  void ShowTabs();
  void ShowDialog();
  void ShowGrid(const std::string& word);
  static bool IsGrid(const std::string& name);
  Program& Running();
  OptionsDialog& Dialog();

  SimDesktop desktop_;
  std::unique_ptr<Program> program_;
  int line_ = 0;
};

}  // namespace wendrel::sim

// wendrel-sim: runs a scenario script against the program on the simulated desktop.
#include <fstream>
#include <iostream>
#include <string>

#include "platform/sim/runner.h"

int main(int argc, char** argv) {
  std::string folder = ".";
  std::string script = "-";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--dir" && i + 1 < argc) {
      folder = argv[++i];
    } else if (arg != "-" && !arg.empty() && arg[0] == '-') {
      std::cerr << "usage: wendrel-sim [--dir DIR] [SCRIPT | -]\n";
      return 2;
    } else {
      script = arg;
    }
  }
  int result = 0;
  {
    wendrel::sim::ScenarioRunner runner(std::cout, folder);
    if (script == "-") {
      result = runner.Run(std::cin, std::cerr);
    } else {
      std::ifstream file(script, std::ios::binary);
      if (!file) {
        std::cerr << "line 0: cannot read " << script << '\n';
        return 2;
      }
      result = runner.Run(file, std::cerr);
    }
  }
  std::cout.flush();
  return result;
}

// The program: the window, or with --macro the headless run of a macro file.

#include <cstdio>
#include <string>
#include <vector>

#include "macro/MacroRunner.h"

#ifdef MV_WITH_WINDOW
namespace mv {
// The Qt window's program (src/ui): runs until the window closes; answers the exit status.
int RunWindowProgram(int argc, char** argv);
}  // namespace mv
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  for (const std::string& argument : arguments) {
    if (argument == "--macro") return mv::RunMacroCommandLine(arguments);
  }
#ifdef MV_WITH_WINDOW
  return mv::RunWindowProgram(argc, argv);
#else
  std::fprintf(
      stderr,
      "mirvane: this build runs macro files only: mirvane --macro FILE [--program-folder DIR] [IMAGE]\n");
  return 1;
#endif
}

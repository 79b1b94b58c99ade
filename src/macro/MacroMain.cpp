// The command line of a macro run: mirvane --macro FILE [--program-folder DIR] [IMAGE]

#include <fstream>
#include <iostream>
#include <iterator>

#include "macro/MacroExit.h"
#include "macro/MacroRunner.h"
#include "platform/ProgramFolder.h"

namespace mv {

int RunMacroCommandLine(const std::vector<std::string>& arguments) {
  std::string macroFile, programFolder = ExecutableFolder();
  std::vector<std::string> images;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == "--macro" && hasValue) {
      macroFile = arguments[++i];
    } else if (argument == "--program-folder" && hasValue) {
      programFolder = arguments[++i];
    } else if (argument == "--macro" || argument == "--program-folder") {
      std::cerr << "mirvane: " << argument << " needs a value\n";
      return kMacroSyntaxError;
    } else {
      images.push_back(argument);
    }
  }
  std::ifstream in(macroFile, std::ios::binary);
  if (!in) {
    std::cerr << "mirvane: cannot read the macro file " << macroFile << '\n';
    return kMacroSyntaxError;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<MacroLine> script;
  try {
    script = SplitMacro(text);
  } catch (const MacroSyntaxError& error) {
    std::cerr << error.what() << '\n';
    return kMacroSyntaxError;
  }
  while (programFolder.size() > 1 && programFolder.back() == '/') programFolder.pop_back();
  MacroRunner runner(std::cout, programFolder);
  return runner.Run(script, images);
}

}  // namespace mv

#include "common/ToolArguments.h"

#include <windows.h>

#include "utils/Process.h"

std::vector<std::wstring> toolArguments(int, char**) {
  std::vector<std::wstring> arguments = splitCommandLine(::GetCommandLineW());
  if (!arguments.empty()) {
    arguments.erase(arguments.begin());
  }
  return arguments;
}

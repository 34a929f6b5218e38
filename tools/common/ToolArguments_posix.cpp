#include "common/ToolArguments.h"

#include "utils/TextConversion.h"

std::vector<std::wstring> toolArguments(int argc, char** argv) {
  std::vector<std::wstring> arguments;
  for (int i = 1; i < argc; ++i) {
    arguments.push_back(toUtf16Lenient(argv[i]));
  }
  return arguments;
}

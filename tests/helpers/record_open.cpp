// Stands in for a web browser in the end-to-end tests: registered as the handler of a URL scheme,
// it appends the address it was opened with as one UTF-8 line to the file named by its first
// argument, and ends. A GUI program on Windows, so that the shell starts it without a console.
#include <fstream>

#include "common/ToolArguments.h"
#include "utils/TextConversion.h"

int main(int argc, char** argv) {
  const std::vector<std::wstring> args = toolArguments(argc, argv);
  if (args.size() != 2) {
    return 1;
  }
  std::ofstream record(toUtf8Lenient(args[0]), std::ios::app | std::ios::binary);
  record << toUtf8Lenient(args[1]) << "\n";
  return record ? 0 : 1;
}

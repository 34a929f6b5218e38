// The demo client on POSIX: records the URL and prints it (a terminal stands in for its window).
#include <cstdio>

#include "LaunchRecord.h"
#include "common/ToolArguments.h"
#include "utils/TextConversion.h"

int main(int argc, char** argv) {
  const std::vector<std::wstring> arguments = toolArguments(argc, argv);
  const std::wstring url = arguments.empty() ? std::wstring() : arguments.front();
  recordLaunch(url);
  std::printf("Quillmere Client (demo) opened with %s\n", toUtf8Lenient(url).c_str());
  return 0;
}

#include "utils/Process.h"

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

} // namespace

std::vector<std::wstring> splitCommandLine(const std::wstring& commandLine) {
  std::vector<std::wstring> arguments;
  std::size_t at = 0;
  const std::size_t size = commandLine.size();
  while (true) {
    while (at < size && isBlank(commandLine[at])) {
      ++at;
    }
    if (at == size) {
      return arguments;
    }
    std::wstring argument;
    bool quoted = false;
    while (at < size && (quoted || !isBlank(commandLine[at]))) {
      std::size_t backslashes = 0;
      while (at < size && commandLine[at] == L'\\') {
        ++backslashes, ++at;
      }
      if (at < size && commandLine[at] == L'"') {
        argument.append(backslashes / 2, L'\\');
        if (backslashes % 2 == 1) {
          argument += L'"';
        } else if (quoted && at + 1 < size && commandLine[at + 1] == L'"') {
          argument += L'"';
          ++at;
        } else {
          quoted = !quoted;
        }
        ++at;
      } else {
        argument.append(backslashes, L'\\');
        if (at < size && (quoted || !isBlank(commandLine[at]))) {
          argument += commandLine[at++];
        }
      }
    }
    arguments.push_back(argument);
  }
}

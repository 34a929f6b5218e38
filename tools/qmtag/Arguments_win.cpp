#include "qmtag/Arguments.h"

#include <windows.h>

#include <stdexcept>

#include "qmtag/Options.h"
#include "utils/Process.h"
#include "utils/TextConversion.h"

namespace qmtag {

std::vector<std::string> programArguments(int, char**) {
  const std::vector<std::wstring> wide = splitCommandLine(::GetCommandLineW());
  std::vector<std::string> arguments;
  for (std::size_t at = 1; at < wide.size(); ++at) {
    try {
      arguments.push_back(toUtf8(wide[at]));
    } catch (const std::range_error&) {
      throw UsageError("an argument is no valid UTF-16 text");
    }
  }
  return arguments;
}

} // namespace qmtag

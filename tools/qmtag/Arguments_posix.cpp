#include "qmtag/Arguments.h"

namespace qmtag {

std::vector<std::string> programArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

} // namespace qmtag

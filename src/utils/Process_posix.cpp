// Stands in for CreateProcessW with posix_spawnp and waitpid (the command line split by the
// Windows rules), and for ShellExecuteW with xdg-open, whose failure counts as the shell's refusal.
// A Windows program file needs no permission to be run; a downloaded file here has no execute
// bit, so the stand-in gives the owner's to a program file of the user's that lacks it.
#include "utils/Process.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>
#include <sys/wait.h>

#include <cerrno>
#include <stdexcept>

#include "utils/TextConversion.h"

extern char** environ;

namespace {

// Starts `arguments` and waits for it; false when it cannot be started.
bool spawnAndWait(const std::vector<std::string>& arguments, int& status) {
  if (arguments.empty()) {
    return false;
  }
  std::vector<char*> argv;
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  pid_t child = 0;
  if (::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    return false;
  }
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) {
      return false;
    }
  }
  return true;
}

// Gives the owner's execute bit to `program` when it is a path to a regular file of the user's.
void allowExecution(const std::string& program) {
  struct stat facts = {};
  if (program.find('/') == std::string::npos || ::stat(program.c_str(), &facts) != 0 ||
      !S_ISREG(facts.st_mode) || facts.st_uid != ::geteuid() || (facts.st_mode & S_IXUSR) != 0) {
    return;
  }
  ::chmod(program.c_str(), facts.st_mode | S_IXUSR);
}

std::uint32_t exitCodeOf(int status) {
  if (WIFEXITED(status)) {
    return static_cast<std::uint32_t>(WEXITSTATUS(status));
  }
  return WIFSIGNALED(status) ? 128u + static_cast<std::uint32_t>(WTERMSIG(status)) : 0u;
}

} // namespace

std::uint32_t runProcessAndWait(const std::wstring& commandLine) {
  std::vector<std::string> arguments;
  try {
    for (const std::wstring& argument : splitCommandLine(commandLine)) {
      arguments.push_back(toUtf8(argument));
    }
  } catch (const std::range_error&) {
    return 0;
  }
  if (!arguments.empty()) {
    allowExecution(arguments.front());
  }
  int status = 0;
  return spawnAndWait(arguments, status) ? exitCodeOf(status) : 0;
}

void shellOpen(const std::wstring& target) {
  std::string narrowTarget;
  try {
    narrowTarget = toUtf8(target);
  } catch (const std::range_error&) {
    throw std::runtime_error("CouldNotStart");
  }
  int status = 0;
  if (!spawnAndWait({"xdg-open", narrowTarget}, status) || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    throw std::runtime_error("CouldNotStart");
  }
}

// Stands in for CreateProcessW with posix_spawnp and waitpid (the command line split by the
// Windows rules), and for ShellExecuteW with xdg-open, whose failure counts as the shell's refusal.
// A Windows program file needs no permission to be run; a downloaded file here has no execute
// bit, so the stand-in gives the owner's to a program file of the user's that lacks it.
#include "utils/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>
#include <sys/wait.h>

#include <cerrno>
#include <stdexcept>

#include "utils/Handles_posix.h"
#include "utils/HeldFile.h"
#include "utils/TextConversion.h"

extern char** environ;

namespace {

// Waits for `child`; false when the wait fails.
bool waitFor(pid_t child, int& status) {
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) {
      return false;
    }
  }
  return true;
}

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
  return waitFor(child, status);
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

// Gives the owner's execute bit to the held regular file `fd` of the user's when it lacks it.
void allowExecution(int fd) {
  struct stat facts = {};
  if (::fstat(fd, &facts) == 0 && S_ISREG(facts.st_mode) && facts.st_uid == ::geteuid() &&
      (facts.st_mode & S_IXUSR) == 0) {
    ::fchmod(fd, facts.st_mode | S_IXUSR);
  }
}

// Executes the program behind descriptor `program` with `arguments` in a child; returns the
// child's id once it runs the program, -1 when it cannot be started. A pipe closed on execution
// tells the parent whether the execution itself failed, which an exit code could not.
pid_t startHeld(int program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  int ends[2] = {-1, -1};
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    return -1;
  }
  UniqueFd readEnd(ends[0]);
  UniqueFd writeEnd(ends[1]);
  const pid_t child = ::fork();
  if (child < 0) {
    return -1;
  }
  if (child == 0) {
    // Only async-signal-safe calls from here on.
    ::fexecve(program, argv.data(), environ);
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(writeEnd.get(), &error, sizeof error);
    ::_exit(127);
  }
  writeEnd.reset();
  int error = 0;
  ssize_t got = 0;
  do {
    got = ::read(readEnd.get(), &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  if (got != 0) {
    int status = 0;
    waitFor(child, status);
    return -1;
  }
  return child;
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

std::uint32_t runHeldProgramAndWait(HeldFile& program, const std::wstring& commandLine) {
  std::vector<std::string> arguments;
  try {
    for (const std::wstring& argument : splitCommandLine(commandLine)) {
      arguments.push_back(toUtf8(argument));
    }
  } catch (const std::range_error&) {
    arguments.clear();
  }
  if (!program.isOpen() || arguments.empty()) {
    program.close();
    return 0;
  }
  const int fd = static_cast<int>(program.nativeHandle());
  allowExecution(fd);
  const pid_t child = startHeld(fd, arguments);
  // The child runs the held program now (or never will); the hold ends here.
  program.close();
  int status = 0;
  return child > 0 && waitFor(child, status) ? exitCodeOf(status) : 0;
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

// Stands in for URLDownloadToFileW with Debian's wget, run as a child process to the target path
// (one try, no progress reports). Its failures map onto the system downloader's results: a host
// that does not resolve onto INET_E_RESOURCE_NOT_FOUND, a server's error status onto
// INET_E_OBJECT_NOT_FOUND, everything else onto INET_E_DOWNLOAD_FAILURE.
#include "utils/SystemDownload.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>
#include <vector>

#include "utils/Handles_posix.h"
#include "utils/TextConversion.h"

extern char** environ;

namespace {

constexpr int kWgetServerError = 8; // wget's exit status for an error response of the server

// The process's environment with LC_ALL=C, so wget's messages can be recognised.
std::vector<std::string> cLocaleEnvironment() {
  std::vector<std::string> environment = {"LC_ALL=C"};
  for (char** entry = environ; *entry; ++entry) {
    if (std::string(*entry).rfind("LC_ALL=", 0) != 0) {
      environment.push_back(*entry);
    }
  }
  return environment;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
  std::vector<char*> result;
  for (std::string& text : texts) {
    result.push_back(text.data());
  }
  result.push_back(nullptr);
  return result;
}

// Everything readable from `fd` until its end.
std::string readAll(int fd) {
  std::string data;
  char buffer[4096];
  for (ssize_t got; (got = ::read(fd, buffer, sizeof(buffer))) != 0;) {
    if (got > 0) {
      data.append(buffer, static_cast<std::size_t>(got));
    } else if (errno != EINTR) {
      break;
    }
  }
  return data;
}

// Runs wget to completion with its messages captured; false when it cannot be started.
bool runWget(const std::string& url, const std::string& target, int& status, std::string& errors) {
  int fds[2] = {-1, -1};
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    return false;
  }
  UniqueFd readEnd(fds[0]);
  UniqueFd writeEnd(fds[1]);
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  ::posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDERR_FILENO);
  std::vector<std::string> arguments = {"wget", "--tries=1", "--no-verbose", "-O", target,
                                        "--",   url};
  std::vector<std::string> environment = cLocaleEnvironment();
  pid_t child = 0;
  const int spawned = ::posix_spawnp(&child, "wget", &actions, nullptr, pointers(arguments).data(),
                                     pointers(environment).data());
  ::posix_spawn_file_actions_destroy(&actions);
  writeEnd.reset();
  if (spawned != 0) {
    return false;
  }
  errors = readAll(readEnd.get());
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) {
      return false;
    }
  }
  return true;
}

} // namespace

std::int32_t systemAttempt(const std::wstring& url, const std::wstring& targetPath,
                           ProgressCallback /*progress*/) {
  std::string narrowUrl, narrowTarget;
  try {
    narrowUrl = toUtf8(url);
    narrowTarget = toUtf8(targetPath);
  } catch (const std::range_error&) {
    return kDownloadFailure;
  }
  int status = 0;
  std::string errors;
  if (!runWget(narrowUrl, narrowTarget, status, errors)) {
    return kDownloadFailure;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    return 0;
  }
  if (errors.find("unable to resolve host address") != std::string::npos) {
    return kResourceNotFound;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == kWgetServerError) {
    return kObjectNotFound;
  }
  return kDownloadFailure;
}

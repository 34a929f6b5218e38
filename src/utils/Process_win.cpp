#include "utils/Process.h"

#include <windows.h>
#include <shellapi.h>

#include <stdexcept>
#include <vector>

#include "utils/Handles_win.h"
#include "utils/HeldFile.h"

namespace {

// Starts `commandLine` (see runProcessAndWait); false when it cannot be started.
bool startProcess(const std::wstring& commandLine, PROCESS_INFORMATION& process) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  return ::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &process) != FALSE;
}

// Waits for the started `process` to end, closes its handles and returns its exit code.
std::uint32_t waitForProcess(const PROCESS_INFORMATION& process) {
  const UniqueKernelHandle processHandle(process.hProcess);
  const UniqueKernelHandle threadHandle(process.hThread);
  ::WaitForSingleObject(processHandle.get(), INFINITE);
  DWORD exitCode = 0;
  ::GetExitCodeProcess(processHandle.get(), &exitCode);
  return exitCode;
}

} // namespace

std::uint32_t runProcessAndWait(const std::wstring& commandLine) {
  PROCESS_INFORMATION process = {};
  return startProcess(commandLine, process) ? waitForProcess(process) : 0;
}

std::uint32_t runHeldProgramAndWait(HeldFile& program, const std::wstring& commandLine) {
  if (!program.isOpen()) {
    return 0;
  }
  PROCESS_INFORMATION process = {};
  const bool started = startProcess(commandLine, process);
  // The running process's image now keeps the file from being written; the hold ends here.
  program.close();
  return started ? waitForProcess(process) : 0;
}

void shellOpen(const std::wstring& target) {
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOW));
  if (result <= 32) {
    throw std::runtime_error("CouldNotStart");
  }
}

#include "utils/Process.h"

#include <windows.h>
#include <shellapi.h>

#include <stdexcept>
#include <vector>

#include "utils/Handles_win.h"

std::uint32_t runProcessAndWait(const std::wstring& commandLine) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
    return 0;
  }
  const UniqueKernelHandle processHandle(process.hProcess);
  const UniqueKernelHandle threadHandle(process.hThread);
  ::WaitForSingleObject(processHandle.get(), INFINITE);
  DWORD exitCode = 0;
  ::GetExitCodeProcess(processHandle.get(), &exitCode);
  return exitCode;
}

void shellOpen(const std::wstring& target) {
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOW));
  if (result <= 32) {
    throw std::runtime_error("CouldNotStart");
  }
}

// Tries to take the installer's setup program from it while the installer holds it: waits until
// the installer's log (argument 2) shows "Executing installer", waits `delay` milliseconds
// (argument 4), then tries to open the setup (argument 1) for writing, to open it for deletion,
// to delete it and to rename it. Prints one JSON line: the Windows error of each attempt (0 for
// success) and whether the setup had already run by then ("QuillmereLoginSetup.runs", argument 3,
// existed).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool logShowsExecution(const wchar_t* log) {
  const HANDLE file =
      ::CreateFileW(log, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    text.append(buffer, got);
  }
  ::CloseHandle(file);
  return text.find("Executing installer") != std::string::npos;
}

DWORD openError(const wchar_t* path, DWORD access) {
  const HANDLE file =
      ::CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return ::GetLastError();
  }
  ::CloseHandle(file);
  return 0;
}

DWORD resultOf(BOOL succeeded) { return succeeded ? 0 : ::GetLastError(); }

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) {
    return 2;
  }
  const wchar_t* setup = argv[1];
  for (int i = 0; i < 6000 && !logShowsExecution(argv[2]); ++i) {
    ::Sleep(10);
  }
  ::Sleep(static_cast<DWORD>(std::wcstoul(argv[4], nullptr, 10)));
  const bool ranBefore = ::GetFileAttributesW(argv[3]) != INVALID_FILE_ATTRIBUTES;
  const DWORD write = openError(setup, GENERIC_WRITE);
  const DWORD deletion = openError(setup, DELETE);
  const DWORD deleted = resultOf(::DeleteFileW(setup));
  const std::wstring moved = std::wstring(setup) + L".moved";
  const DWORD renamed = resultOf(::MoveFileW(setup, moved.c_str()));
  const bool ranAfter = ::GetFileAttributesW(argv[3]) != INVALID_FILE_ATTRIBUTES;
  std::printf("{\"ran_before\": %s, \"ran_after\": %s, \"write\": %lu, \"open_delete\": %lu, "
              "\"delete\": %lu, \"rename\": %lu}\n",
              ranBefore ? "true" : "false", ranAfter ? "true" : "false",
              static_cast<unsigned long>(write), static_cast<unsigned long>(deletion),
              static_cast<unsigned long>(deleted), static_cast<unsigned long>(renamed));
  return 0;
}

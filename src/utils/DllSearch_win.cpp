#include "utils/DllSearch_win.h"

#include <windows.h>

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, which the Windows 7 headers of the build do not define.
constexpr DWORD kSearchSystem32 = 0x00000800;

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

} // namespace

void restrictDllSearchToSystem32() {
  // kernel32 is loaded in every process before its first instruction; nothing is loaded here.
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  const auto setDefaultDllDirectories =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
          kernel ? ::GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr));
  if (setDefaultDllDirectories != nullptr && setDefaultDllDirectories(kSearchSystem32)) {
    return;
  }
  ::SetDllDirectoryW(L"");
}

// Functions of the system DLLs that are not KnownDLLs, loaded from System32 only: a program
// started from a Downloads folder must not import them statically, because Windows looks for such
// DLLs in the program's own folder first, where a web page may have dropped one of that name.
// Inline, so that the import stand-ins (SystemImports_win.cpp), which the linker reaches after
// the program's own library, carry it themselves.
#pragma once

#include <windows.h>

#include <string>

namespace system_library_detail {
// LOAD_LIBRARY_SEARCH_SYSTEM32, which the Windows 7 headers of the build do not define.
constexpr DWORD kSearchSystem32 = 0x00000800;
} // namespace system_library_detail

// The function `name` of the System32 DLL `dll` ("crypt32.dll"), null when the DLL or the
// function is not there. The DLL is loaded with LOAD_LIBRARY_SEARCH_SYSTEM32, or by its full
// System32 path where that flag is unknown (Windows 7 without KB2533623), and is deliberately
// never freed: its functions are used until the process ends (a second load only counts up the
// loader's reference). Safe to call from any thread.
inline FARPROC systemFunction(const wchar_t* dll, const char* name) {
  HMODULE module = ::LoadLibraryExW(dll, nullptr, system_library_detail::kSearchSystem32);
  if (module == nullptr) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
      return nullptr;
    }
    module = ::LoadLibraryW((std::wstring(folder, length) + L"\\" + dll).c_str());
  }
  return module ? ::GetProcAddress(module, name) : nullptr;
}

// The same as a pointer of type Function.
template <typename Function> Function systemFunctionAs(const wchar_t* dll, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(systemFunction(dll, name)));
}

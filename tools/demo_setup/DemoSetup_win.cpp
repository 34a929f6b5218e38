#include "DemoSetup.h"

#include <windows.h>
#include <shlobj.h>

#include "common/ToolArguments.h"

void postSetupProgress(std::int64_t window, std::uint32_t message, std::uint32_t done,
                       std::uint32_t total) {
  ::PostMessageW(reinterpret_cast<HWND>(static_cast<INT_PTR>(window)), message, done,
                 static_cast<LPARAM>(total));
}

std::wstring clientInstallFolder() {
  wchar_t programFiles[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles);
  return std::wstring(programFiles) + L"\\Quillworks\\Quillmere Client";
}

void allowRunning(const std::wstring&) {}

std::wstring urlHandlerCommand(const std::wstring& clientPath) {
  return L"\"" + clientPath + L"\" \"%1\"";
}

int main(int argc, char** argv) { return runDemoSetup(toolArguments(argc, argv)); }

#include "ui/ErrorDialog.h"

#include <windows.h>

void showErrorDialog(const std::wstring& content, const std::wstring& /*heading*/,
                     const std::wstring& /*title*/) {
  ::MessageBoxW(nullptr, content.c_str(), L"Error", MB_ICONERROR);
}

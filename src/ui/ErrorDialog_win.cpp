#include "ui/ErrorDialog.h"

#include <windows.h>
#include <commctrl.h>

#include "ui/CommonControls_win.h"

bool isTaskDialogAvailable() { return taskDialogIndirectEntry() != nullptr; }

void showErrorDialog(const std::wstring& content, const std::wstring& heading,
                     const std::wstring& title) {
  const TaskDialogIndirectFunction taskDialogIndirect = taskDialogIndirectEntry();
  if (!taskDialogIndirect) {
    ::MessageBoxW(nullptr, content.c_str(), L"Error", MB_ICONERROR);
    return;
  }
  TASKDIALOGCONFIG config = {};
  config.cbSize = sizeof(config);
  config.hInstance = ::GetModuleHandleW(nullptr);
  config.dwCommonButtons = TDCBF_OK_BUTTON;
  config.pszWindowTitle = title.c_str();
  config.pszMainIcon = TD_ERROR_ICON;
  config.pszMainInstruction = heading.c_str();
  config.pszContent = content.c_str();
  taskDialogIndirect(&config, nullptr, nullptr, nullptr);
}

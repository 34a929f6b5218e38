// The smallest program of ours with a window like the installer's: one task dialog with the
// installer's manifest and runtime, nothing else. The start-up benchmark
// (bench/installer_timing.py) times it beside QuillmereInstaller.exe. It ends when its dialog is
// closed.
#include <windows.h>

#include "ui/CommonControls_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const TaskDialogIndirectFunction taskDialogIndirect = taskDialogIndirectEntry();
  if (!taskDialogIndirect) {
    return 1;
  }
  TASKDIALOGCONFIG config = {};
  config.cbSize = sizeof(config);
  config.hInstance = instance;
  config.dwFlags = TDF_SHOW_PROGRESS_BAR | TDF_ALLOW_DIALOG_CANCELLATION;
  config.pszWindowTitle = L"Quillmere Task Dialog";
  config.pszMainInstruction = L"Quillmere Client";
  config.pszContent = L"";
  return taskDialogIndirect(&config, nullptr, nullptr, nullptr) == S_OK ? 0 : 1;
}

#include "SetupProgram.h"

#include "ui/ProgressWindow.h"
#include "utils/Files.h"
#include "utils/Paths.h"

const std::wstring& installerPath() {
  static const std::wstring path = tempDirectory() + L"QuillmereLoginSetup.exe";
  return path;
}

std::wstring localInstallerPath() {
  return fileExists(installerPath()) ? installerPath() : std::wstring();
}

std::wstring windowHandleArguments() {
  return L" /host=" + std::to_wstring(progressWindowHandle()) + L" /msgId=" +
         std::to_wstring(kSetupProgressMessage);
}

std::wstring installerCommandLine(bool silent) {
  std::wstring arguments = silent ? L"/VERYSILENT /SUPPRESSMSGBOXES" : L"";
  arguments += L" /startedFromQsl";
  arguments += windowHandleArguments();
  return L"\"" + localInstallerPath() + L"\" " + arguments;
}

// The demo setup on POSIX: installs under local application data; there is no window to report
// progress to.
#include "DemoSetup.h"

#include <sys/stat.h>

#include "common/ToolArguments.h"
#include "utils/TextConversion.h"
#include "utils/Paths.h"

void postSetupProgress(std::int64_t, std::uint32_t, std::uint32_t, std::uint32_t) {}

std::wstring clientInstallFolder() {
  return localAppDataDirectory() + L"/Quillworks/Quillmere Client";
}

void allowRunning(const std::wstring& clientPath) { ::chmod(toUtf8(clientPath).c_str(), 0755); }

std::wstring urlHandlerCommand(const std::wstring& clientPath) {
  return L"\"" + clientPath + L"\" \"%1\"";
}

int main(int argc, char** argv) { return runDemoSetup(toolArguments(argc, argv)); }

#include "InstallerApp.h"

#include <exception>

#include "BuildInfo.h"
#include "MessageKeys.h"
#include "events/EventDispatcher.h"
#include "log/Log.h"
#include "ui/ErrorDialog.h"
#include "ui/LocalizationUtils.h"
#include "ui/ProgressWindow.h"
#include "utils/Paths.h"
#include "utils/TextConversion.h"

namespace {

// The key of a failure's message. A message that is no valid UTF-8 (a library's text in the
// user's code page, say) keeps its readable part, with U+FFFD for each invalid byte.
MessageKey keyOfMessage(const char* message) { return toUtf16Lenient(message ? message : ""); }

} // namespace

void InstallerApp::runSteps(ModuleInstance instance, std::shared_ptr<std::thread>& windowThread) {
  checkWindowsVersion();
  windowThread = startProgressWindow(instance);
  lockInstanceMutex();
  ensureInstallationId();
  readConfiguration();
  initMonitoring();
  extractEmbeddedInformation();
  downloadRemoteVersionInfo();
  prepareClientInstallation();
  startClient();
  closeProgressWindow();
}

void InstallerApp::run(ModuleInstance instance) {
  QM_LOG("Starting");
  QM_LOG(std::string("Version: ") + BuildInfo::label);
  QM_LOG(L"Working directory: " + currentDirectory());
  MessageKey errorKey;
  std::shared_ptr<std::thread> windowThread;
  // The closing event of a run that stops before the monitoring step measures it all the same.
  EventDispatcher::instance().setRunStart(startTime);
  try {
    runSteps(instance, windowThread);
  } catch (const prevent_start_on_xp_exception& error) {
    errorKey = keyOfMessage(error.what());
    const std::wstring text = LocalizationUtils::translate(errorKey);
    showErrorDialog(text, text, L"Error");
  } catch (const std::runtime_error& error) {
    QM_LOG(std::string("ERROR: Exception occurred: ") + error.what());
    errorKey = keyOfMessage(error.what());
    showError(errorKey);
  } catch (...) {
    QM_LOG("ERROR: Unexpected exception occurred");
    errorKey = MessageKeys::UnknownError;
    showError(errorKey);
  }
  EventDispatcher& events = EventDispatcher::instance();
  events.sendInstallerClose(errorKey.empty() ? std::wstring(L"success") : errorKey);
  events.waitForEvents();
  // After a success the window is closing already; after a failure it shows the error until the
  // user closes it.
  if (windowThread && windowThread->joinable()) {
    windowThread->join();
  }
}

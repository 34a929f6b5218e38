// The main thread's side of the progress window: every update is a synchronous SendMessageW to
// the task dialog, which the window thread handles.
#include "ui/ProgressWindow.h"

#include <windows.h>
#include <commctrl.h>

#include "ui/LocalizationUtils.h"
#include "ui/ProgressWindowPercent.h"
#include "ui/ProgressWindowState_win.h"

namespace {

// The identifier of the "Close" button.
constexpr int kCloseButton = 1000;

// Sends `message` to the window and returns its result; 0 without a window.
LRESULT sendToWindow(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = progressWindowState().windowHandle.load();
  return window ? ::SendMessageW(window, message, wParam, lParam) : 0;
}

void setContent(const std::wstring& text) {
  sendToWindow(TDM_SET_ELEMENT_TEXT, TDE_CONTENT, reinterpret_cast<LPARAM>(text.c_str()));
}

void setMainIcon(HICON icon) {
  sendToWindow(TDM_UPDATE_ICON, TDIE_ICON_MAIN, reinterpret_cast<LPARAM>(icon));
}

} // namespace

ProgressWindowState& progressWindowState() {
  static ProgressWindowState state;
  return state;
}

WindowReady::WindowReady()
    : namedEvent_(::CreateEventW(nullptr, TRUE, FALSE, L"QM_INSTALLER_SPLASH_HANDLE")),
      future_(promise_.get_future()) {}

void WindowReady::set() {
  if (set_.exchange(true)) {
    return;
  }
  if (namedEvent_) {
    ::SetEvent(namedEvent_.get());
  }
  promise_.set_value();
}

void WindowReady::wait() {
  if (namedEvent_) {
    ::WaitForSingleObject(namedEvent_.get(), INFINITE);
  }
  future_.wait();
  // set() has finished with the event (it sets it before the private signal): close it now.
  namedEvent_.reset();
}

std::shared_ptr<std::thread> startProgressWindow(ModuleInstance instance) {
  const auto ready = std::make_shared<WindowReady>();
  auto thread = std::make_shared<std::thread>(runProgressWindow, instance, ready);
  ready->wait();
  return thread;
}

void setStatusText(const MessageKey& key) {
  if (progressWindowState().closeRequested.load()) {
    return;
  }
  setContent(LocalizationUtils::translate(key));
}

void showError(const std::wstring& message) {
  if (progressWindowState().closeRequested.load()) {
    return;
  }
  setNonStoppable(false);
  setContent(LocalizationUtils::translate(message));
  setMainIcon(progressWindowState().errorIcon);
}

void setNonStoppable(bool nonStoppable) {
  sendToWindow(TDM_ENABLE_BUTTON, kCloseButton, nonStoppable ? FALSE : TRUE);
  progressWindowState().closeAllowed.exchange(!nonStoppable);
}

void showElevationIcon() { setMainIcon(progressWindowState().shieldIcon); }

void setProgressPercent(float percent) {
  sendToWindow(TDM_SET_PROGRESS_BAR_POS, static_cast<WPARAM>(progressBarPosition(percent)), 0);
}

void reportProgress(std::uint32_t done, std::uint32_t total) {
  setProgressPercent(transferPercent(done, total));
}

bool isCloseRequested() { return progressWindowState().closeRequested.load(); }

std::int64_t progressWindowHandle() {
  return static_cast<std::int64_t>(
      reinterpret_cast<std::intptr_t>(progressWindowState().windowHandle.load()));
}

void closeProgressWindow() { sendToWindow(WM_CLOSE, 1, 0); }

// The window thread's side of the progress window: the task dialog, its callback, the subclass
// procedure that decides what a close attempt means, and the close request itself.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "MessageKeys.h"
#include "ui/CommonControls_win.h"
#include "ui/LocalizationUtils.h"
#include "ui/ProgressWindow.h"
#include "ui/ProgressWindowPercent.h"
#include "ui/ProgressWindowState_win.h"
#include "utils/StringUtils.h"

namespace {

constexpr int kCloseButton = 1000;
constexpr UINT kMainIconResource = 32512;
// Hyperlinks, the main icon as a handle, the progress bar, the timer, minimizable, sized to fit.
constexpr TASKDIALOG_FLAGS kDialogFlags = 0x01008A03;

// What the dialog callback and the subclass procedure receive as their reference data.
struct DialogContext {
  std::shared_ptr<WindowReady> ready;
};

// Whether the "NonStopableOperation" notice is up (window thread only): a second close attempt
// meanwhile shows no second notice on top of it.
bool noticeShown = false;

// The user's attempt to close the window: honoured (later, by the timer) while closing is
// allowed; otherwise answered with the notice that the operation cannot be stopped.
void requestClose(HWND window) {
  ProgressWindowState& state = progressWindowState();
  if (state.closeAllowed.load()) {
    state.closeRequested.exchange(true);
    return;
  }
  if (noticeShown) {
    return;
  }
  noticeShown = true;
  const std::wstring text = LocalizationUtils::translate(MessageKeys::NonStopableOperation);
  const std::wstring caption = LocalizationUtils::translate(MessageKeys::QuillmereInstaller);
  ::MessageBoxW(window, text.c_str(), caption.c_str(), MB_OK);
  noticeShown = false;
}

// Opens the address of a link of the window's text with the shell. Only web addresses: the text
// may be a library's message, which must not make the shell start anything else.
void openLink(const wchar_t* address) {
  const std::wstring target = address ? address : L"";
  const std::wstring lower = toLowerCase(target);
  if (lower.rfind(L"https://", 0) != 0 && lower.rfind(L"http://", 0) != 0) {
    return;
  }
  ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOW);
}

LRESULT CALLBACK subclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR /*subclassId*/, DWORD_PTR /*referenceData*/) {
  if (message == WM_CLOSE) {
    if (wParam == 1) {
      ::DestroyWindow(window);
      // The dialog's message loop notices that its window is gone only when it receives a
      // message; without one it would wait for ever and the thread would not end.
      ::PostMessageW(nullptr, WM_NULL, 0, 0);
      return 1;
    }
    requestClose(window);
    return 0;
  }
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
    requestClose(window);
    return 0;
  }
  if (message == kSetupProgressMessage) {
    setProgressPercent(
        setupMessagePercent(static_cast<std::uint32_t>(wParam), static_cast<std::int32_t>(lParam)));
    return 1;
  }
  static const DefSubclassProcFunction defSubclassProc = defSubclassProcEntry();
  return defSubclassProc(window, message, wParam, lParam);
}

void onCreated(HWND window, DialogContext& context) {
  progressWindowState().windowHandle.exchange(window);
  if (const SetWindowSubclassFunction setWindowSubclass = setWindowSubclassEntry()) {
    setWindowSubclass(window, subclassProcedure, 0, reinterpret_cast<DWORD_PTR>(&context));
  }
  context.ready->set();
}

HRESULT CALLBACK dialogCallback(HWND window, UINT notification, WPARAM /*wParam*/, LPARAM lParam,
                                LONG_PTR data) {
  switch (notification) {
  case TDN_CREATED:
    onCreated(window, *reinterpret_cast<DialogContext*>(data));
    return S_OK;
  case TDN_BUTTON_CLICKED:
    requestClose(window);
    return S_FALSE;
  case TDN_HYPERLINK_CLICKED:
    openLink(reinterpret_cast<const wchar_t*>(lParam));
    return S_OK;
  case TDN_TIMER:
    if (progressWindowState().closeRequested.load()) {
      closeProgressWindow();
    }
    return S_OK;
  default:
    return S_OK;
  }
}

// Sets the ready signal when the window thread leaves, in case the dialog never came up.
struct ReadyOnExit {
  std::shared_ptr<WindowReady> ready;
  ~ReadyOnExit() { ready->set(); }
};

} // namespace

long runProgressWindow(ModuleInstance instance, std::shared_ptr<WindowReady> ready) {
  const ReadyOnExit readyOnExit{ready};
  ProgressWindowState& state = progressWindowState();
  if (state.shownOnce.exchange(true)) {
    return 0;
  }
  const HINSTANCE module =
      instance ? static_cast<HINSTANCE>(instance) : ::GetModuleHandleW(nullptr);
  state.shieldIcon = ::LoadIconW(nullptr, IDI_SHIELD);
  state.errorIcon = ::LoadIconW(nullptr, IDI_ERROR);
  state.mainIcon = ::LoadIconW(module, MAKEINTRESOURCEW(kMainIconResource));
  const TaskDialogIndirectFunction taskDialogIndirect = taskDialogIndirectEntry();
  if (!taskDialogIndirect) {
    return E_NOTIMPL;
  }
  const std::wstring title = LocalizationUtils::translate(MessageKeys::QuillmereInstaller);
  const std::wstring heading = LocalizationUtils::translate(MessageKeys::QuillmereClient);
  const TASKDIALOG_BUTTON closeButton = {kCloseButton, L"Close"};
  DialogContext context{ready};
  TASKDIALOGCONFIG config = {};
  config.cbSize = sizeof(config);
  config.hInstance = module;
  config.dwFlags = kDialogFlags | (LocalizationUtils::isRightToLeftUi() ? TDF_RTL_LAYOUT : 0);
  config.pszWindowTitle = title.c_str();
  config.hMainIcon = state.mainIcon;
  config.pszMainInstruction = heading.c_str();
  config.pszContent = L"";
  config.cButtons = 1;
  config.pButtons = &closeButton;
  config.pfCallback = dialogCallback;
  config.lpCallbackData = reinterpret_cast<LONG_PTR>(&context);
  return taskDialogIndirect(&config, nullptr, nullptr, nullptr);
}

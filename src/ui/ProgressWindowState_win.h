// What the two threads of the Windows progress window share: the window's state, the signal by
// which the window thread tells the main thread that the window exists, and the window thread's
// entry point.
#pragma once

#include <windows.h>

#include <atomic>
#include <future>
#include <memory>

#include "utils/Handles_win.h"
#include "utils/ModuleInstance.h"

struct ProgressWindowState {
  // The task dialog's window, published (before the ready signal) once it has been created.
  std::atomic<HWND> windowHandle{nullptr};
  // False while a non-stoppable operation runs.
  std::atomic<bool> closeAllowed{true};
  // Set once the user asked to close while closing was allowed; never cleared.
  std::atomic<bool> closeRequested{false};
  // Set when the dialog is about to be shown: there is one window per process.
  std::atomic<bool> shownOnce{false};
  // Loaded by the window thread before the ready signal; read by the main thread after it.
  HICON shieldIcon = nullptr;
  HICON errorIcon = nullptr;
  HICON mainIcon = nullptr;
};

// The process-wide state (created on first use).
ProgressWindowState& progressWindowState();

// The window thread's signal that this process's window exists, or that it will not come up. It
// sets the named event "QM_INSTALLER_SPLASH_HANDLE" and a signal of this process alone: another
// copy of the installer can open and set the named event, so it alone cannot tell that this
// process's window exists. Shared by both threads; set at most once.
class WindowReady {
public:
  // Creates the named event (manual reset, not signalled); a failure leaves only the private
  // signal.
  WindowReady();
  // Sets both signals; later calls do nothing. Window thread.
  void set();
  // Waits without a time limit until set() has been called in this process, then closes the
  // named event. Main thread, once.
  void wait();

private:
  UniqueKernelHandle namedEvent_;
  std::atomic<bool> set_{false};
  std::promise<void> promise_;
  std::future<void> future_;
};

// The window thread: shows the task dialog (once per process) and returns when it has been
// destroyed; its result is TaskDialogIndirect's. Sets `ready` when the dialog exists, or on
// return if it never came up.
long runProgressWindow(ModuleInstance instance, std::shared_ptr<WindowReady> ready);

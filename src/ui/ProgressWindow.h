// The progress window: one small window per process, on a thread of its own, showing the
// installer's name, a status line, a progress bar, one "Close" button and, at the end, the run's
// error. The main thread drives it only through the operations below; each returns when the
// window has handled the update (a synchronous window message on Windows). Every update is a
// harmless no-op when no window exists (not started, could not be created, or closed).
//
// Windows: a task dialog of the Common Controls library. POSIX: a display on standard error.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "MessageKeys.h"
#include "utils/ModuleInstance.h"

// The window message by which the client setup reports its progress to the window: wParam is
// the part done (unsigned 32-bit), lParam the total (signed 32-bit).
constexpr std::uint32_t kSetupProgressMessage = 32774;

// Starts the window's thread and returns once this process's window exists (or has failed to
// come up, after which every update does nothing). `instance` is the module whose icon resource
// 32512 the window shows; null means the program's own module. The caller joins the returned
// thread: it ends when the window has been closed. Throws std::system_error when the thread
// cannot be started. A second call in one process shows no second window: its thread ends at once.
std::shared_ptr<std::thread> startProgressWindow(ModuleInstance instance);

// Shows the text of `key` as the status line, unless the user has asked to close the window.
void setStatusText(const MessageKey& key);

// Shows the text of `message` (a MessageKey, or any text, which is shown as it stands) as the
// window's error with the error icon, and allows closing again; unless the user has asked to close
// the window. The window then stays until the user closes it.
void showError(const std::wstring& message);

// true: the user can no longer close the window ("Close" disabled; a close attempt shows the
// "NonStopableOperation" notice instead); false: closing is allowed again.
void setNonStoppable(bool nonStoppable);

// Replaces the window's icon by the shield that marks a step which may ask for elevation.
void showElevationIcon();

// Moves the progress bar to `percent`, clamped to 0..100 and truncated toward zero.
void setProgressPercent(float percent);

// The progress callback of a download: `done` of `total` bytes (a total of 0 or 1 counts as 1).
void reportProgress(std::uint32_t done, std::uint32_t total);

// Whether the user has asked to close the window while closing was allowed. Never reset.
bool isCloseRequested();

// The window's handle as a number (decimal on the client setup's command line); 0 before the
// window exists and where there is no window system.
std::int64_t progressWindowHandle();

// The program's own close request, obeyed at once whatever the user may do: the window goes away
// and its thread ends.
void closeProgressWindow();

// Stands in for the progress window on a terminal: a display on standard error, run by a thread
// of its own. On a terminal it writes the title and heading once and redraws one status line with
// a progress bar in place; on any other stream it writes plain lines, one per status and one per
// 10 % of progress. Ctrl-C is the user's close request; during a non-stoppable phase it prints the
// "NonStopableOperation" notice instead. After an error the display stays, when standard input is
// a terminal, until the user presses Enter. There are no icons and no window handle.
#include "ui/ProgressWindow.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <future>
#include <mutex>

#include "ui/LocalizationUtils.h"
#include "ui/ProgressWindowPercent.h"
#include "ui/ProgressWindowTerminal_posix.h"
#include "utils/Handles_posix.h"
#include "utils/TextConversion.h"

namespace {

// What the display thread is woken for, one byte each on its pipe.
constexpr char kInterrupted = 'i'; // Ctrl-C (written by the signal handler)
constexpr char kClose = 'c';       // the program's close request
constexpr char kErrorShown = 'e';  // an error is on display

struct Display {
  std::mutex mutex; // serialises the output and the fields up to `printedTenth`
  bool terminal = false;
  bool open = false;       // shown and not yet closed
  bool lineDrawn = false;  // terminal: the status line is on screen and not yet ended
  bool errorShown = false; // the error is the last word: the status line is not drawn again
  std::wstring status;
  int position = 0;
  int printedTenth = 0; // no terminal: the tenth of progress written last
  std::atomic<bool> closeAllowed{true};
  std::atomic<bool> closeRequested{false};
  std::atomic<bool> shownOnce{false};
  UniqueFd wakeRead;
  UniqueFd wakeWrite;
  bool interruptTaken = false; // SIGINT is ours until the display ends
  struct sigaction previousInterrupt = {};
};

Display& display() {
  static Display instance;
  return instance;
}

// The write end of the wake-up pipe for the signal handler; -1 when none.
std::atomic<int> gInterruptFd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free atomic");

extern "C" void onInterruptSignal(int) {
  const int savedErrno = errno;
  const int fd = gInterruptFd.load();
  if (fd >= 0) {
    const char byte = kInterrupted;
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = savedErrno;
}

void wake(char reason) {
  if (display().wakeWrite) {
    [[maybe_unused]] const ssize_t written = ::write(display().wakeWrite.get(), &reason, 1);
  }
}

void print(const std::string& text) {
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
}

// Terminal: ends the status line so that other lines can follow it. Caller holds the mutex.
void endStatusLine(Display& d) {
  if (d.lineDrawn) {
    print("\n");
    d.lineDrawn = false;
  }
}

// Terminal: draws the status line anew in place. Caller holds the mutex.
void redrawStatusLine(Display& d) {
  if (d.errorShown) {
    return;
  }
  print("\r\033[K" + statusLine(d.status, d.position));
  d.lineDrawn = true;
}

// Writes lines of text; on a terminal between the status line and its next drawing.
void printLines(Display& d, const std::wstring& text) {
  endStatusLine(d);
  print(toUtf8Lenient(text) + "\n");
  if (d.terminal && d.open) {
    redrawStatusLine(d);
  }
}

void onInterrupted(Display& d, bool& done) {
  if (d.closeAllowed.load()) {
    d.closeRequested.exchange(true);
    done = true;
    return;
  }
  const std::lock_guard<std::mutex> lock(d.mutex);
  printLines(d, LocalizationUtils::translate(MessageKeys::NonStopableOperation));
}

// Handles the bytes waiting on the pipe; sets `done` when the display is to close and
// `awaitEnter` when it is to wait for Enter.
void handleWakeUps(Display& d, bool& done, bool& awaitEnter) {
  char bytes[64];
  for (ssize_t count = ::read(d.wakeRead.get(), bytes, sizeof bytes); count > 0;
       count = ::read(d.wakeRead.get(), bytes, sizeof bytes)) {
    for (ssize_t i = 0; i < count && !done; ++i) {
      if (bytes[i] == kInterrupted) {
        onInterrupted(d, done);
      } else if (bytes[i] == kClose) {
        done = true;
      } else if (bytes[i] == kErrorShown && !awaitEnter) {
        awaitEnter = ::isatty(STDIN_FILENO) == 1;
        done = !awaitEnter;
        if (awaitEnter) {
          const std::lock_guard<std::mutex> lock(d.mutex);
          printLines(d, L"Press Enter to close.");
        }
      }
    }
  }
}

// Whether a line (or the end) of standard input has arrived.
bool enterPressed() {
  char bytes[256];
  const ssize_t count = ::read(STDIN_FILENO, bytes, sizeof bytes);
  if (count <= 0) {
    return count == 0 || (errno != EINTR && errno != EAGAIN);
  }
  for (ssize_t i = 0; i < count; ++i) {
    if (bytes[i] == '\n') {
      return true;
    }
  }
  return false;
}

void closeDisplay(Display& d) {
  const std::lock_guard<std::mutex> lock(d.mutex);
  endStatusLine(d);
  d.open = false;
  gInterruptFd.exchange(-1);
  if (d.interruptTaken) {
    ::sigaction(SIGINT, &d.previousInterrupt, nullptr);
    d.interruptTaken = false;
  }
}

void showHeader(Display& d) {
  const std::lock_guard<std::mutex> lock(d.mutex);
  d.terminal = ::isatty(STDERR_FILENO) == 1;
  print(toUtf8Lenient(LocalizationUtils::translate(MessageKeys::QuillmereInstaller)) + "\n" +
        toUtf8Lenient(LocalizationUtils::translate(MessageKeys::QuillmereClient)) + "\n");
  d.open = true;
  if (d.terminal) {
    redrawStatusLine(d);
  }
}

void runDisplay(std::shared_ptr<std::promise<void>> ready) {
  Display& d = display();
  if (d.shownOnce.exchange(true)) {
    ready->set_value();
    return;
  }
  showHeader(d);
  ready->set_value();
  bool done = false;
  bool awaitEnter = false;
  while (!done) {
    pollfd fds[2] = {{d.wakeRead.get(), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    if (::poll(fds, awaitEnter ? 2 : 1, -1) < 0) {
      continue;
    }
    if (fds[0].revents & POLLIN) {
      handleWakeUps(d, done, awaitEnter);
    }
    if (!done && awaitEnter && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
      done = enterPressed();
    }
  }
  closeDisplay(d);
}

// Makes the wake-up pipe and takes SIGINT (unless it was ignored when the program started, as
// for a job started in the background). Before the display thread runs.
void prepareWakeUps(Display& d) {
  int fds[2];
  if (d.wakeRead || ::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    return;
  }
  d.wakeRead.reset(fds[0]);
  d.wakeWrite.reset(fds[1]);
  struct sigaction previous = {};
  if (::sigaction(SIGINT, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
    return;
  }
  gInterruptFd.exchange(fds[1]);
  struct sigaction action = {};
  action.sa_handler = onInterruptSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  d.interruptTaken = ::sigaction(SIGINT, &action, &d.previousInterrupt) == 0;
}

} // namespace

std::shared_ptr<std::thread> startProgressWindow(ModuleInstance /*instance*/) {
  Display& d = display();
  if (!d.shownOnce.load()) {
    prepareWakeUps(d);
  }
  const auto ready = std::make_shared<std::promise<void>>();
  std::future<void> shown = ready->get_future();
  auto thread = std::make_shared<std::thread>(runDisplay, ready);
  shown.wait();
  return thread;
}

void setStatusText(const MessageKey& key) {
  Display& d = display();
  const std::lock_guard<std::mutex> lock(d.mutex);
  if (!d.open || d.closeRequested.load()) {
    return;
  }
  d.status = LocalizationUtils::translate(key);
  if (d.terminal) {
    redrawStatusLine(d);
  } else {
    print(toUtf8Lenient(d.status) + "\n");
  }
}

void showError(const std::wstring& message) {
  Display& d = display();
  {
    const std::lock_guard<std::mutex> lock(d.mutex);
    if (!d.open || d.closeRequested.load()) {
      return;
    }
    d.closeAllowed.exchange(true);
    endStatusLine(d);
    d.errorShown = true;
    print(toUtf8Lenient(spellOutLinks(LocalizationUtils::translate(message))) + "\n");
  }
  wake(kErrorShown);
}

void setNonStoppable(bool nonStoppable) { display().closeAllowed.exchange(!nonStoppable); }

void showElevationIcon() {}

void setProgressPercent(float percent) {
  Display& d = display();
  const std::lock_guard<std::mutex> lock(d.mutex);
  if (!d.open) {
    return;
  }
  d.position = progressBarPosition(percent);
  if (d.terminal) {
    redrawStatusLine(d);
  } else if (d.position / 10 != d.printedTenth) {
    d.printedTenth = d.position / 10;
    print(progressLine(d.printedTenth * 10) + "\n");
  }
}

void reportProgress(std::uint32_t done, std::uint32_t total) {
  setProgressPercent(transferPercent(done, total));
}

bool isCloseRequested() { return display().closeRequested.load(); }

std::int64_t progressWindowHandle() { return 0; }

void closeProgressWindow() { wake(kClose); }

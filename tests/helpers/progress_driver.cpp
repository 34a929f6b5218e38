// Drives the real progress window from commands, one per line, so that the end-to-end tests can
// put it into every state. Commands come from standard input, or from the file named by
// "--commands PATH" (a FIFO, when standard input is to be the user's terminal). Every command is
// answered by one line on standard output once the operation has returned:
//
//   start                  startProgressWindow            -> "started HANDLE"
//   status KEY             setStatusText(KEY)             -> "ok"
//   error TEXT             showError(TEXT, to line end)   -> "ok"
//   progress DONE TOTAL    reportProgress(DONE, TOTAL)    -> "ok"
//   percent P              setProgressPercent(P)          -> "ok"
//   nonstoppable 0|1       setNonStoppable                -> "ok"
//   shield                 showElevationIcon              -> "ok"
//   close                  closeProgressWindow            -> "ok"
//   requested              isCloseRequested               -> "1" or "0"
//   handle                 progressWindowHandle           -> the number
//   translate KEY          the text of KEY, as a JSON string
//   wait                   joins the window's thread      -> "ended"
//   quit (or the end)      closeProgressWindow, join, exit
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "JsonText.h"
#include "ui/LocalizationUtils.h"
#include "ui/ProgressWindow.h"
#include "utils/TextConversion.h"

namespace {

void reply(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

void join(std::shared_ptr<std::thread>& thread) {
  if (thread && thread->joinable()) {
    thread->join();
  }
}

// Carries out one command; false for "quit".
bool perform(const std::string& verb, const std::string& rest,
             std::shared_ptr<std::thread>& thread) {
  std::istringstream numbers(rest);
  if (verb == "start") {
    thread = startProgressWindow(nullptr);
    reply("started " + std::to_string(progressWindowHandle()));
    return true;
  }
  if (verb == "quit") {
    return false;
  }
  if (verb == "status") {
    setStatusText(toUtf16Lenient(rest));
  } else if (verb == "error") {
    showError(toUtf16Lenient(rest));
  } else if (verb == "progress") {
    std::uint32_t done = 0;
    std::uint32_t total = 0;
    numbers >> done >> total;
    reportProgress(done, total);
  } else if (verb == "percent") {
    setProgressPercent(std::stof(rest));
  } else if (verb == "nonstoppable") {
    setNonStoppable(rest == "1");
  } else if (verb == "shield") {
    showElevationIcon();
  } else if (verb == "close") {
    closeProgressWindow();
  } else if (verb == "requested") {
    reply(isCloseRequested() ? "1" : "0");
    return true;
  } else if (verb == "handle") {
    reply(std::to_string(progressWindowHandle()));
    return true;
  } else if (verb == "translate") {
    reply(jsonString(LocalizationUtils::translate(toUtf16Lenient(rest))));
    return true;
  } else if (verb == "wait") {
    join(thread);
    reply("ended");
    return true;
  } else {
    reply("unknown command: " + verb);
    return true;
  }
  reply("ok");
  return true;
}

} // namespace

int main(int argc, char** argv) {
  LocalizationUtils::instance();
  std::ifstream file;
  if (argc == 3 && std::string(argv[1]) == "--commands") {
    file.open(argv[2]);
  }
  std::istream& commands = file.is_open() ? static_cast<std::istream&>(file) : std::cin;
  std::shared_ptr<std::thread> thread;
  for (std::string line; std::getline(commands, line);) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    const std::size_t space = line.find(' ');
    const std::string verb = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (!perform(verb, rest, thread)) {
      break;
    }
  }
  closeProgressWindow();
  join(thread);
  reply("bye");
  return 0;
}

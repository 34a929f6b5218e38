#include "log/Log.h"

#include <cstdio>
#include <ctime>
#include <mutex>

#include "ProductNames.h"
#include "utils/Clock.h"
#include "utils/CurlHandles.h"
#include "utils/Files.h"
#include "utils/Paths.h"
#include "utils/TextConversion.h"
#include "utils/WindowsVersion.h"

namespace {

struct LogState {
  std::mutex mutex;
  UniqueFile file; // text mode: CR LF line ends on Windows
  bool initialised = false;
  bool enabled = false;
};

LogState& logState() {
  static LogState state;
  return state;
}

// The log file: under local application data, or in the current directory on systems before
// Vista. The folder is created in either case.
std::string openLogPath() {
  const std::string folder = toUtf8Lenient(localAppDataDirectory()) + "/" +
                             toUtf8Lenient(kCompanyName) + "/" + toUtf8Lenient(kProductKeyName);
  createDirectories(folder);
  return isOlderThanVista() ? std::string("installer.log") : folder + "/installer.log";
}

// "YYYY-MM-DD hh:mm:ss" of the wall clock in local time (formatted by hand: the Windows C
// runtime's strftime knows neither %F nor %T).
std::string timestamp() {
  const std::time_t seconds = static_cast<std::time_t>(systemTime100ns() / 10000000);
  std::tm local = {};
  if (!localCalendarTime(seconds, local)) {
    return "0000-00-00 00:00:00";
  }
  char text[80] = {};
  std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

} // namespace

std::string logSourceName(const std::string& file) {
  for (const char* marker : {"\\src\\", "/src/"}) {
    const std::size_t found = file.find(marker);
    if (found != std::string::npos) {
      return file.substr(found + 1);
    }
  }
  return file;
}

void initLog() {
  LogState& state = logState();
  const std::lock_guard<std::mutex> lock(state.mutex);
  if (state.initialised) {
    return;
  }
  state.initialised = true;
  if (!fileExists(L"log.conf")) {
    return;
  }
  state.file.reset(openTextFileForWriting(toUtf16(openLogPath())));
  state.enabled = static_cast<bool>(state.file);
}

void writeLog(const std::string& message, const char* file, std::uint64_t line) {
  try {
    initLog();
    LogState& state = logState();
    const std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.enabled) {
      return;
    }
    const std::string text = timestamp() + " (" +
                             logSourceName(toNativeSeparators(file ? file : "")) + ":" +
                             std::to_string(line) + ") " + message + "\n";
    std::fwrite(text.data(), 1, text.size(), state.file.get());
    std::fflush(state.file.get());
  } catch (...) {
    // The log never makes its caller fail (a full disk or an allocation failure, say).
  }
}

void writeLog(const char* message, const char* file, std::uint64_t line) {
  try {
    writeLog(std::string(message ? message : ""), file, line);
  } catch (...) {
  }
}

void writeLog(const std::wstring& message, const char* file, std::uint64_t line) {
  try {
    writeLog(toUtf8Lenient(message), file, line);
  } catch (...) {
  }
}

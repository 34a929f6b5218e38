// The optional diagnostic log: written only when a file "log.conf" exists in the current
// directory at the first log call of the process; otherwise every call returns at once.
#pragma once

#include <cstdint>
#include <string>

// Writes one line "YYYY-MM-DD hh:mm:ss (SOURCE:LINE) MESSAGE" in local time, where SOURCE is
// `file` from its "src" folder on, and flushes it. Safe from any thread; lines never interleave.
// The message is UTF-8 bytes (the narrow forms) or UTF-16 converted to UTF-8 (the wide form, with
// unpaired surrogates written as U+FFFD). Never throws.
void writeLog(const char* message, const char* file, std::uint64_t line);
void writeLog(const std::string& message, const char* file, std::uint64_t line);
void writeLog(const std::wstring& message, const char* file, std::uint64_t line);

// Takes the process's one decision whether to log (the first call decides; later calls return).
// Called by every writeLog.
void initLog();

// SOURCE of a log line for the compiler-given `file` (exposed for tests): the text after the
// first separator of the first "\src\" in it, else of the first "/src/", else all of it.
std::string logSourceName(const std::string& file);

// Logs `message` with the caller's source file and line.
#define QM_LOG(message) writeLog((message), __FILE__, __LINE__)

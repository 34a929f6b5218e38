// Starting programs: a command line run to its end, and a document or URL handed to the shell.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class HeldFile;

// Runs `commandLine` (the program first, found by the platform's rules) with the caller's
// environment and current directory, without a console window, and waits without a time limit
// until it has ended. Returns its exit code; 0 when it cannot be started (which the caller cannot
// tell from an exit code of 0). POSIX exit statuses are 8-bit; a program ended by signal N gives
// 128 + N, as a shell reports it.
std::uint32_t runProcessAndWait(const std::wstring& commandLine);

// Runs `commandLine` like runProcessAndWait, started from the file that `program` holds (the
// command line's first token must name that file: on Windows it is found by that name, which the
// hold keeps pointing at the held file; on POSIX the held descriptor itself is executed, the
// owner's execute bit given to it when it lacks one). `program` is closed as soon as the start
// has succeeded or failed, before the wait. Returns the exit code; 0 when it cannot be started or
// `program` holds nothing.
std::uint32_t runHeldProgramAndWait(HeldFile& program, const std::wstring& commandLine);

// Opens `target` (a file, a document or a URL) with its default handler and returns at once.
// Throws std::runtime_error("CouldNotStart") when the shell refuses.
void shellOpen(const std::wstring& target);

// Splits a command line into arguments by the rules Windows programs apply to theirs: blanks and
// tabs separate; "..." groups; 2n backslashes before a quotation mark give n backslashes and the
// mark delimits, 2n+1 give n backslashes and a literal mark; "" inside a group is a literal mark.
std::vector<std::wstring> splitCommandLine(const std::wstring& commandLine);

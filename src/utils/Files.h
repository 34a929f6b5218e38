// The file operations the installer needs, reporting failure by their results.
#pragma once

#include <cstdio>
#include <string>

// 1 when `path` is a directory, 0 when it is something else or does not exist (or a component is
// no directory), -1 when the query failed for another reason (access denied, say).
int isDirectory(const std::wstring& path);

// Creates the folder at the UTF-8 `path` and its missing parents. True when the folder exists
// afterwards as far as the operation can tell: an existing folder, or a query error other than
// "missing", returns true without creating anything; a plain file at the path gives false.
bool createDirectories(const std::string& path);

// True when a file or folder exists at `path`.
bool fileExists(const std::wstring& path);

// Deletes the file at `path`; true on success. A missing file gives false.
bool deleteFile(const std::wstring& path);

// Opens the file at `path` for writing bytes (created, or truncated), not inherited by child
// processes; null on failure. The caller owns the stream (UniqueFile).
std::FILE* openFileForWriting(const std::wstring& path);

// Opens the file at `path` for writing text (created, or truncated), not inherited by child
// processes: the Windows C runtime writes each "\n" as CR LF, the POSIX one writes it as it is.
// Null on failure; the caller owns the stream (UniqueFile).
std::FILE* openTextFileForWriting(const std::wstring& path);

// Opens the file at `path` for reading bytes, not inherited by child processes; null on failure.
// The caller owns the stream (UniqueFile).
std::FILE* openFileForReading(const std::wstring& path);

// The whole file at `path` as bytes in `bytes` (replaced); false, with `bytes` empty, when the
// file does not open or a read fails.
bool readWholeFile(const std::wstring& path, std::string& bytes);

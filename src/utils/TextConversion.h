// UTF-8 <-> UTF-16 conversion with strict validation, identical on every platform.
#pragma once

#include <string>

// Wide strings hold UTF-16 code units on every platform (one unit per wchar_t, surrogate pairs for
// characters beyond U+FFFF), so a text converts the same way under Windows and Linux.

// Converts UTF-16 to UTF-8. Throws std::range_error("bad conversion") for an unpaired surrogate or
// a unit above 0xFFFF (which no UTF-16 text holds).
std::string toUtf8(const std::wstring& text);

// Converts UTF-8 to UTF-16. Throws std::range_error("bad conversion") for any malformed input:
// stray continuation bytes, truncated or overlong sequences, encoded surrogates, values above
// U+10FFFF. A byte order mark is converted like any other character.
std::wstring toUtf16(const std::string& text);
// The same for a zero-terminated text; a null pointer reads as the empty text.
std::wstring toUtf16(const char* text);

// Converts UTF-8 to UTF-16, replacing every malformed sequence by U+FFFD instead of throwing; for
// texts that must be shown or logged whatever they hold (a library's error message, say).
std::wstring toUtf16Lenient(const std::string& text);
// Converts UTF-16 to UTF-8, replacing every unpaired surrogate by U+FFFD instead of throwing.
std::string toUtf8Lenient(const std::wstring& text);

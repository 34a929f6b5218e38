// The one lookup of a private profile (".ini") file that the installer makes, as
// GetPrivateProfileStringW performs it; the POSIX build reads installer.ini with it.
#pragma once

#include <string>

// The text of a profile file's bytes: UTF-16LE after its byte order mark FF FE, UTF-8 after
// EF BB BF or without a mark. Malformed sequences become U+FFFD; nothing is refused.
std::wstring decodeProfileText(const std::string& bytes);

// The value of `key` in the first section named `section` of `text`, or empty when there is none.
// Lines end at line feeds and at carriage returns. A line whose first non-blank character is '['
// and that holds a later ']' starts a section named by the text between '[' and its last ']',
// without surrounding blanks; any other line is a key,
// the text before its first '=', and its value, the text after it. Key and value lose their
// surrounding blanks, a value enclosed in matching single or double quotation marks loses them,
// and the value is cut to `maxChars` units. Section and key names compare without regard to ASCII
// letter case; `section` and `key` themselves lose their surrounding blanks first. Lines before the
// first section belong to no section.
std::wstring profileString(const std::wstring& text, const std::wstring& section,
                           const std::wstring& key, std::size_t maxChars);

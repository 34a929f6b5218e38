// Small text operations shared by the parsers and the configuration code.
#pragma once

#include <string>
#include <vector>

// The pieces of `text` between occurrences of `separator`, searched from the left. Empty pieces
// are kept; a text without the separator gives one piece, the empty text one empty piece. An
// empty separator gives the whole text as one piece.
std::vector<std::string> splitString(const std::string& text, const std::string& separator);

// The pieces joined with `separator` between neighbours; the empty text for no pieces.
std::string joinStrings(const std::vector<std::string>& pieces, const std::string& separator);

// `text` without the trailing and then the leading characters that belong to `set`.
std::string trimChars(const std::string& text, const std::string& set);

// `text` without the trailing characters that belong to `set`.
std::wstring trimRightChars(const std::wstring& text, const std::wstring& set);

// Maps the ASCII capitals A to Z to a to z and leaves every other byte or unit as it is (what the
// C runtime's towlower does in the default "C" locale, on every platform alike).
std::string toLowerCase(const std::string& text);
std::wstring toLowerCase(const std::wstring& text);

// The value 0 to 15 of the hexadecimal digit `c` ("0"-"9", "a"-"f", "A"-"F"); -1 for any other
// character.
int hexDigitValue(char c);

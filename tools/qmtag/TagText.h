// The text of a download tag: a JSON object of campaign members, written as hexadecimal digits.
#pragma once

#include <map>
#include <string>

namespace qmtag {

// The tag text for `members` (JSON member name to UTF-8 value): the compact JSON object, each of
// its bytes as two lower-case hexadecimal digits. Throws TagError when a value is not valid UTF-8.
std::string encodeTagText(const std::map<std::string, std::string>& members);

// The bytes that the hexadecimal `text` stands for (digits of either case, two per byte). Throws
// TagError for an odd number of digits or a character that is no hexadecimal digit.
std::string decodeTagText(const std::string& text);

} // namespace qmtag

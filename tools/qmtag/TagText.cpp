#include "qmtag/TagText.h"

#include <nlohmann/json.hpp>

#include "qmtag/TagError.h"
#include "utils/StringUtils.h"

namespace qmtag {

std::string encodeTagText(const std::map<std::string, std::string>& members) {
  nlohmann::json object = nlohmann::json::object();
  for (const auto& [name, value] : members) {
    object[name] = value;
  }
  std::string json;
  try {
    json = object.dump();
  } catch (const nlohmann::json::type_error&) {
    throw TagError("a tag value is not valid UTF-8 text");
  }
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * json.size());
  for (const char c : json) {
    const auto byte = static_cast<unsigned char>(c);
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

std::string decodeTagText(const std::string& text) {
  if (text.size() % 2 != 0) {
    throw TagError("the tag text has an odd number of hexadecimal digits");
  }
  std::string bytes;
  bytes.reserve(text.size() / 2);
  for (std::size_t at = 0; at < text.size(); at += 2) {
    const int high = hexDigitValue(text[at]);
    const int low = hexDigitValue(text[at + 1]);
    if (high < 0 || low < 0) {
      throw TagError("the tag text is not hexadecimal");
    }
    bytes += static_cast<char>(high << 4 | low);
  }
  return bytes;
}

} // namespace qmtag

// JSON text for the helpers' one-line answers.
#pragma once

#include <cstdio>
#include <string>

#include "utils/TextConversion.h"

// `text` as a JSON string of UTF-8 (control characters escaped).
inline std::string jsonString(const std::wstring& text) {
  std::string out = "\"";
  for (const char c : toUtf8Lenient(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

inline std::string jsonBool(bool value) { return value ? "true" : "false"; }

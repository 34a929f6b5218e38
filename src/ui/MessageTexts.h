// The installer's texts in every language, as data: one block per language tag, one line per
// MessageKey, UTF-8. In RemoteVersionInfoValidationError the label of the support link is written
// between "<a>" and "</a>"; the table's builder puts the support page's address into the "<a>".
#pragma once

#include <cstddef>

struct MessageText {
  const char* key;
  const char* text;
};

struct LanguageTexts {
  const char* tag;
  MessageText texts[16];
};

constexpr std::size_t kLanguageCount = 29;
// In the order the table is filled.
extern const LanguageTexts kLanguageTexts[kLanguageCount];

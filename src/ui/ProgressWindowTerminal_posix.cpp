#include "ui/ProgressWindowTerminal_posix.h"

#include <algorithm>

#include "utils/TextConversion.h"

std::wstring spellOutLinks(const std::wstring& text) {
  const std::wstring opening = L"<a href=\"";
  const std::wstring closing = L"</a>";
  std::wstring out;
  std::size_t from = 0;
  for (std::size_t at = text.find(opening); at != std::wstring::npos;
       at = text.find(opening, from)) {
    const std::size_t addressEnd = text.find(L"\">", at + opening.size());
    const std::size_t labelEnd =
        addressEnd == std::wstring::npos ? addressEnd : text.find(closing, addressEnd + 2);
    if (labelEnd == std::wstring::npos) {
      break;
    }
    const std::size_t addressStart = at + opening.size();
    out.append(text, from, at - from)
        .append(text, addressEnd + 2, labelEnd - addressEnd - 2)
        .append(L" (")
        .append(text, addressStart, addressEnd - addressStart)
        .append(L")");
    from = labelEnd + closing.size();
  }
  return out.append(text, from, std::wstring::npos);
}

std::string statusLine(const std::wstring& status, int position) {
  constexpr int kCells = 20;
  const int clamped = std::clamp(position, 0, 100);
  const int filled = clamped * kCells / 100;
  std::string number = std::to_string(clamped);
  number.insert(0, 3 - number.size(), ' ');
  return toUtf8Lenient(status) + (status.empty() ? "" : "  ") + "[" + std::string(filled, '#') +
         std::string(kCells - filled, '-') + "] " + number + "%";
}

std::string progressLine(int position) { return "Progress: " + std::to_string(position) + "%"; }

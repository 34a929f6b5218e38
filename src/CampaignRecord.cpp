#include "CampaignRecord.h"

#include <algorithm>

#include "utils/StringUtils.h"

std::string hexDecode(const std::string& text) {
  if (!std::all_of(text.begin(), text.end(), [](char c) { return hexDigitValue(c) >= 0; })) {
    return {};
  }
  std::string bytes;
  bytes.reserve(text.size() / 2);
  for (std::size_t at = 0; at + 1 < text.size(); at += 2) {
    bytes.push_back(static_cast<char>(hexDigitValue(text[at]) * 16 + hexDigitValue(text[at + 1])));
  }
  return bytes;
}

void readCampaignMember(const nlohmann::json& record, const char* name, std::string& field) {
  if (!record.is_object()) {
    return;
  }
  const auto member = record.find(name);
  if (member != record.end() && member->is_string()) {
    field = member->get<std::string>();
  }
}

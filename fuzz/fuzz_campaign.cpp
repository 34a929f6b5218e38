// The tag text after the extractor: hexadecimal decoding, then the JSON object and its four string
// members as the campaign step reads them, and the conversions that the members go through later
// (the registry value and the client's URL take them as UTF-16).
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "CampaignRecord.h"
#include "FuzzCheck.h"
#include "utils/StringUtils.h"
#include "utils/TextConversion.h"

namespace {

void checkDecoding(const std::string& text, const std::string& bytes) {
  if (bytes.empty()) {
    return;
  }
  QM_FUZZ_CHECK(bytes.size() == text.size() / 2, "two digits per byte");
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    QM_FUZZ_CHECK(hexDigitValue(text[2 * at]) == byte >> 4 &&
                      hexDigitValue(text[2 * at + 1]) == (byte & 0xF),
                  "each byte is its two digits");
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The input both as the tag's digits and as an already decoded record.
  const std::string decoded = hexDecode(text);
  checkDecoding(text, decoded);
  for (const std::string* candidate : {&decoded, &text}) {
    nlohmann::json record;
    try {
      record = nlohmann::json::parse(*candidate);
    } catch (const nlohmann::json::exception&) {
      // No JSON, or a number out of range: the step then sends the placeholders.
      continue;
    }
    std::string fields[4];
    const char* names[4] = {"g", "c", "l", "i"};
    for (int i = 0; i < 4; ++i) {
      readCampaignMember(record, names[i], fields[i]);
      // Members that the parser accepted are valid UTF-8: converting them never throws.
      QM_FUZZ_CHECK(toUtf8(toUtf16(fields[i])) == fields[i], "members convert to UTF-16 and back");
    }
    // The record is kept and may be serialized again.
    (void)record.dump();
  }
  return 0;
}

// The matching of installer.ini values by their SHA-1 digest on arbitrary UTF-16 values (the input
// read as little-endian 16-bit units, unpaired surrogates included), and the choice of the
// digest's text form from an arbitrary rendering.
#include <openssl/sha.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "FuzzCheck.h"
#include "config/Selectors.h"
#include "config/SettingDigest.h"

namespace {

std::wstring units(const std::uint8_t* data, std::size_t size) {
  std::wstring value;
  for (std::size_t at = 0; at + 1 < size; at += 2) {
    value.push_back(static_cast<wchar_t>(data[at] | data[at + 1] << 8));
  }
  return value;
}

void checkMatching(const std::wstring& value) {
  std::wstring digest;
  try {
    digest = settingDigest(value);
  } catch (const std::range_error&) {
    // Documented for a value that is no valid UTF-16; both matchers say the same.
    bool channelThrew = false, environmentThrew = false;
    try {
      matchUpdateChannel(value);
    } catch (const std::range_error&) {
      channelThrew = true;
    }
    try {
      matchEnvironment(value);
    } catch (const std::range_error&) {
      environmentThrew = true;
    }
    QM_FUZZ_CHECK(channelThrew && environmentThrew, "invalid values are refused alike");
    return;
  }
  QM_FUZZ_CHECK(digest.size() == 40 || (digest.size() == 28 && digest.back() == L'='),
                "a digest text has one of the two forms");
  QM_FUZZ_CHECK(matchUpdateChannel(value) == matchUpdateChannelDigest(digest), "channel by digest");
  QM_FUZZ_CHECK(matchEnvironment(value) == matchEnvironmentDigest(digest), "environment by digest");
}

void checkRendering(const std::wstring& rendering, const std::uint8_t* data, std::size_t size) {
  Sha1Digest digest{};
  SHA1(data, size, digest.data());
  const std::wstring text = digestText(rendering, digest);
  QM_FUZZ_CHECK(text == hexDigestText(digest) || text == base64DigestText(digest),
                "the text is one of the digest's own forms");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring value = units(data, size);
  checkMatching(value);
  checkRendering(value, data, size);
  return 0;
}

// Stands in for the CryptoAPI hash with OpenSSL's SHA-1; the rendering is the hexadecimal form.
#include "config/SettingDigest.h"

#include <openssl/sha.h>

#include "utils/TextConversion.h"

std::wstring settingDigest(const std::wstring& value) {
  const std::string bytes = toUtf8(value);
  Sha1Digest digest = {};
  if (::SHA1(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest.data()) ==
      nullptr) {
    return {};
  }
  return hexDigestText(digest);
}

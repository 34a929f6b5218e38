#include "config/SettingDigest.h"

#include <windows.h>
#include <wincrypt.h>

#include "utils/Handles_win.h"
#include "utils/SystemLibrary_win.h"
#include "utils/TextConversion.h"

namespace {

// SHA-1 of `bytes` with the CryptoAPI; false when the service fails.
bool hashBytes(const std::string& bytes, Sha1Digest& digest) {
  HCRYPTPROV provider = 0;
  if (!::CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
    return false;
  }
  const UniqueCryptProvider ownedProvider(provider);
  HCRYPTHASH hash = 0;
  if (!::CryptCreateHash(provider, CALG_SHA1, 0, 0, &hash)) {
    return false;
  }
  const UniqueCryptHash ownedHash(hash);
  if (!::CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()), 0)) {
    return false;
  }
  DWORD size = static_cast<DWORD>(digest.size());
  return ::CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &size, 0) && size == digest.size();
}

// The platform's rendering with format 8, at most 64 characters; empty when it fails (as it does
// under Wine, which does not know that format for this direction).
std::wstring platformRendering(const Sha1Digest& digest) {
  // crypt32 is no KnownDLL: taken from System32 only.
  using CryptBinaryToStringWFunction = BOOL(WINAPI*)(const BYTE*, DWORD, DWORD, LPWSTR, DWORD*);
  static const auto cryptBinaryToString =
      systemFunctionAs<CryptBinaryToStringWFunction>(L"crypt32.dll", "CryptBinaryToStringW");
  wchar_t buffer[64] = {};
  DWORD length = 64;
  if (cryptBinaryToString == nullptr ||
      !cryptBinaryToString(digest.data(), static_cast<DWORD>(digest.size()), 8, buffer, &length) ||
      length >= 64) {
    return {};
  }
  return std::wstring(buffer, length);
}

} // namespace

std::wstring settingDigest(const std::wstring& value) {
  Sha1Digest digest = {};
  if (!hashBytes(toUtf8(value), digest)) {
    return {};
  }
  return digestText(platformRendering(digest), digest);
}

// The SHA-1 digest text of an installer.ini value, which the selectors are matched against.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// A SHA-1 digest: 20 bytes.
using Sha1Digest = std::array<std::uint8_t, 20>;

// The digest of `value`'s UTF-8 bytes (no terminator) as one of its two stored text forms: 40
// lowercase hexadecimal digits or 28 standard Base64 characters with one "=". Windows hashes with
// the CryptoAPI and renders with CryptBinaryToStringW; whatever that rendering gives, the result is
// one of the two forms (see digestText). When hashing fails, the result is empty, which matches no
// selector. Throws std::range_error("bad conversion") when `value` is no valid UTF-16.
std::wstring settingDigest(const std::wstring& value);

// The 40 lowercase hexadecimal digits of `digest`.
std::wstring hexDigestText(const Sha1Digest& digest);
// The 28 standard Base64 characters of `digest`, the last one "=".
std::wstring base64DigestText(const Sha1Digest& digest);

// The text form of `digest` given the platform's `rendering` of it: the rendering without its
// white space (space, tab, line feed, carriage return, vertical tab, form feed) when that is one of
// the two forms of this very digest, else the hexadecimal form. A failed rendering is passed as
// the empty text.
std::wstring digestText(const std::wstring& rendering, const Sha1Digest& digest);

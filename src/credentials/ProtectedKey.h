// Reading the client's private key, which is protected by a pass phrase hidden in the program.
#pragma once

#include <cstddef>
#include <string>

#include <openssl/types.h>

// The pass phrase needs this many bytes of buffer: the 16 bytes and a terminating zero.
constexpr std::size_t kPassPhraseBufferSize = 17;

// Reads the private key of the PEM text `pem` (any private-key form the TLS library reads,
// encrypted or not). Its pass phrase is assembled in `buffer` (`bufferSize` bytes, at least one
// more than `passPhraseText` decodes to): the Base64 `passPhraseText` decoded, RC4-decrypted under
// `rc4Key` (`rc4KeySize` bytes), then a zero byte. The whole buffer holds only zeros when the
// function returns, on every path. Returns the key, owned by the caller (EVP_PKEY_free), or null
// when the text is empty, the buffer too small or the key unreadable with that pass phrase.
EVP_PKEY* readProtectedKey(const std::string& pem, const std::string& passPhraseText,
                           const unsigned char* rc4Key, std::size_t rc4KeySize,
                           unsigned char* buffer, std::size_t bufferSize);

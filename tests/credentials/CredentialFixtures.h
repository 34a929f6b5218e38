// Scrambled PEM texts for the credential tests, made by the build from the development PKI
// (cmake/Credentials.cmake) with the program's own K:
//   "ID_DATA_2.other"    the client key encrypted under another pass phrase
//   "ID_DATA_1.foreign"  a certificate of another CA, which the client key does not belong to
//   "ID_DATA_1.weak"     a client certificate with a 512-bit RSA key
#pragma once

#include <string>

#include "credentials/EmbeddedText.h"

extern const EmbeddedText kCredentialFixtures[];

// The bytes of the fixture `name`; empty when there is none.
inline std::string credentialFixture(const std::wstring& name) {
  for (const EmbeddedText* entry = kCredentialFixtures; entry->name != nullptr; ++entry) {
    if (name == entry->name) {
      return std::string(reinterpret_cast<const char*>(entry->bytes), entry->size);
    }
  }
  return {};
}

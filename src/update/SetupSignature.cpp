#include "update/SetupSignature.h"

extern const unsigned char kPinnedCodeSigningCa[];
extern const std::size_t kPinnedCodeSigningCa_size;

const std::string& pinnedCodeSigningCa() {
  static const std::string pem(reinterpret_cast<const char*>(kPinnedCodeSigningCa),
                               kPinnedCodeSigningCa_size);
  return pem;
}

std::string verifySetupProgram(const std::uint8_t* data, std::size_t size) {
  return verifySetupProgram(data, size, pinnedCodeSigningCa());
}

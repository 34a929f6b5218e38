#include "update/SetupSignature.h"

#include "update/SignatureVerifier.h"

std::string verifySetupProgram(const std::uint8_t* data, std::size_t size,
                               const std::string& trustedCaPem) {
  SignedImageLayout layout;
  const std::string reason = readAuthenticodeLayout(data, size, layout);
  return reason.empty()
             ? verifySignedImage(data, size, layout, SignedContent::AuthenticodeImage, trustedCaPem)
             : reason;
}

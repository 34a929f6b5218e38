// A native setup program has no Authenticode signature: the build appends a detached signature
// over the file to it instead, which the same pinned CA checks.
#include "update/SetupSignature.h"

#include "update/SignatureVerifier.h"

std::string verifySetupProgram(const std::uint8_t* data, std::size_t size,
                               const std::string& trustedCaPem) {
  SignedImageLayout layout;
  const std::string reason = readAppendedSignatureLayout(data, size, layout);
  return reason.empty()
             ? verifySignedImage(data, size, layout, SignedContent::DetachedData, trustedCaPem)
             : reason;
}

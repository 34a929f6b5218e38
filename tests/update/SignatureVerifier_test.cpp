#include "update/SignatureVerifier.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "update/SignatureFixtures.h"
#include "update/SignedImageLayout.h"

namespace {

const std::uint8_t* bytesOf(const std::string& file) {
  return reinterpret_cast<const std::uint8_t*>(file.data());
}

std::string devCa() { return signatureFixture("ca.pem"); }

// The layout reader's reason, or else the verifier's: empty when `file` passes.
std::string verifyProgram(const std::string& file, const std::string& ca = devCa()) {
  SignedImageLayout layout;
  const std::string reason = readAuthenticodeLayout(bytesOf(file), file.size(), layout);
  return reason.empty() ? verifySignedImage(bytesOf(file), file.size(), layout,
                                            SignedContent::AuthenticodeImage, ca)
                        : reason;
}

std::string verifyAppended(const std::string& file, const std::string& ca = devCa()) {
  SignedImageLayout layout;
  const std::string reason = readAppendedSignatureLayout(bytesOf(file), file.size(), layout);
  return reason.empty() ? verifySignedImage(bytesOf(file), file.size(), layout,
                                            SignedContent::DetachedData, ca)
                        : reason;
}

std::uint32_t get32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

// Offsets in the fixtures' PE32 image (tests/update/make-signature-fixtures).
constexpr std::size_t kChecksum = 0x80 + 24 + 64;
constexpr std::size_t kTableOffsetField = 0x80 + 24 + 96 + 4 * 8;
constexpr std::size_t kCode = 0x200;

std::string changed(std::string file, std::size_t at) {
  file[at] = static_cast<char>(file[at] ^ 0x01);
  return file;
}

struct Case {
  const char* what;
  std::string file;
  std::string ca;
  const char* reason; // a part of the expected reason
};

TEST(AuthenticodeSignature, SignedProgramsOfTheMakerPass) {
  EXPECT_EQ(verifyProgram(signatureFixture("pe.signed")), "");
  EXPECT_EQ(verifyProgram(signatureFixture("pe64.signed")), "");
  // Several pinned certificates: any of them is an anchor.
  EXPECT_EQ(
      verifyProgram(signatureFixture("pe.signed"), signatureFixture("foreign-ca.pem") + devCa()),
      "");
  // The checksum is no part of the digest (signing tools fill it in afterwards).
  std::string checksum = signatureFixture("pe.signed");
  put32(checksum, kChecksum, 0x12345678);
  EXPECT_EQ(verifyProgram(checksum), "");
}

TEST(AuthenticodeSignature, RefusesUnsignedTamperedAndForeignPrograms) {
  const std::string signed_ = signatureFixture("pe.signed");
  ASSERT_FALSE(signed_.empty());
  const std::size_t table = get32(signed_, kTableOffsetField);
  std::string appended = signed_ + std::string(8, '\0');
  std::string overSection = signed_;
  put32(overSection, kTableOffsetField, kCode);
  std::string revision = signed_;
  revision[table + 5] = 0x01; // revision 1.0
  std::string longerTable = signed_ + std::string(8, '\0');
  put32(longerTable, kTableOffsetField + 4, get32(signed_, kTableOffsetField + 4) + 8);
  std::string notPe = signed_;
  notPe[0] = 'X';
  const Case cases[] = {
      {"unsigned", signatureFixture("pe.unsigned"), devCa(), "the file is not signed"},
      {"one byte of code changed", changed(signed_, kCode), devCa(),
       "the file's digest does not match its signature"},
      {"a header byte changed", changed(signed_, 0x80 + 8), devCa(),
       "the file's digest does not match its signature"},
      {"bytes after the table", appended, devCa(),
       "the file's digest does not match its signature"},
      {"the signature's last byte changed", changed(signed_, signed_.size() - 9), devCa(),
       "the signature does not verify"},
      {"signed by another CA", signatureFixture("pe.foreign"), devCa(),
       "does not chain to the pinned CA"},
      {"pinned another CA", signed_, signatureFixture("foreign-ca.pem"),
       "does not chain to the pinned CA"},
      {"no pinned CA", signed_, "", "no pinned code-signing CA"},
      {"a TLS client certificate", signatureFixture("pe.client-eku"), devCa(),
       "not for code signing"},
      {"SHA-1", signatureFixture("pe.sha1"), devCa(), "not accepted"},
      {"the table over the code", overSection, devCa(), "the certificate table is malformed"},
      {"another revision", revision, devCa(), "the certificate table is malformed"},
      {"a table with room for more", longerTable, devCa(), "the certificate table"},
      {"cut short", signed_.substr(0, signed_.size() - 16), devCa(),
       "the certificate table is malformed"},
      {"no MZ", notPe, devCa(), "not a Windows program"},
      {"an appended signature", signatureFixture("data.signed"), devCa(), "not a Windows program"},
  };
  for (const Case& c : cases) {
    const std::string reason = verifyProgram(c.file, c.ca);
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
  }
}

TEST(AuthenticodeSignature, EveryTruncationIsRefused) {
  const std::string signed_ = signatureFixture("pe.signed");
  for (std::size_t length = 0; length < signed_.size(); ++length) {
    EXPECT_NE(verifyProgram(signed_.substr(0, length)), "") << length;
  }
}

TEST(AppendedSignature, SignedDataOfTheMakerPasses) {
  EXPECT_EQ(verifyAppended(signatureFixture("data.signed")), "");
}

TEST(AppendedSignature, RefusesUnsignedTamperedAndForeignData) {
  const std::string signed_ = signatureFixture("data.signed");
  ASSERT_FALSE(signed_.empty());
  std::string longer = signed_;
  longer[signed_.size() - 16] = static_cast<char>(longer[signed_.size() - 16] + 1);
  std::string huge = signed_;
  huge[signed_.size() - 10] = 0x7F;
  const Case cases[] = {
      {"unsigned", signatureFixture("data.unsigned"), devCa(), "the file is not signed"},
      {"a signed program", signatureFixture("pe.signed"), devCa(), "the file is not signed"},
      {"one byte of content changed", changed(signed_, 10), devCa(),
       "the signature does not verify"},
      {"another magic", changed(signed_, signed_.size() - 1), devCa(), "the file is not signed"},
      {"a length one too long", longer, devCa(), "the signature is malformed"},
      {"a length past the start", huge, devCa(), "the signature is malformed"},
      {"signed by another CA", signatureFixture("data.foreign"), devCa(),
       "does not chain to the pinned CA"},
      {"a TLS client certificate", signatureFixture("data.client-eku"), devCa(),
       "not for code signing"},
  };
  for (const Case& c : cases) {
    const std::string reason = verifyAppended(c.file, c.ca);
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
  }
}

TEST(AppendedSignature, EveryTruncationIsRefused) {
  const std::string signed_ = signatureFixture("data.signed");
  for (std::size_t length = 0; length < signed_.size(); ++length) {
    EXPECT_NE(verifyAppended(signed_.substr(0, length)), "") << length;
  }
}

} // namespace

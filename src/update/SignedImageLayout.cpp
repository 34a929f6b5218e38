#include "update/SignedImageLayout.h"

#include <algorithm>
#include <cstring>

#include "update/Der.h"

namespace {

constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kSecurityDirectory = 4;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint16_t kCertificateRevision = 0x0200;
constexpr std::uint16_t kCertificatePkcsSignedData = 0x0002;
constexpr std::size_t kCertificateHeaderSize = 8;

std::uint16_t read16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

std::uint32_t read32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
         (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

// The parts of the PE headers the layout needs, as file offsets and values.
struct PeHeaders {
  std::size_t checksum = 0;      // offset of the optional header's CheckSum
  std::size_t securityEntry = 0; // offset of the certificate table's directory entry
  std::size_t rawDataEnd = 0;    // end of the headers and of every section's raw data
  std::uint64_t tableOffset = 0; // the directory entry: the table's file offset ...
  std::uint64_t tableSize = 0;   // ... and its size in bytes
};

// Reads the headers; the empty string on success.
std::string readPeHeaders(const std::uint8_t* data, std::size_t size, PeHeaders& pe) {
  if (size < 64 || data[0] != 'M' || data[1] != 'Z') {
    return "the file is not a Windows program";
  }
  const std::uint64_t signature = read32(data + 60);
  if (signature + 24 > size || std::memcmp(data + signature, "PE\0\0", 4) != 0) {
    return "the file is not a Windows program";
  }
  const std::size_t coff = static_cast<std::size_t>(signature) + 4;
  const std::size_t sections = read16(data + coff + 2);
  const std::size_t optionalSize = read16(data + coff + 16);
  const std::size_t optional = coff + 20;
  if (optional + optionalSize > size || optionalSize < 2) {
    return "the program's headers are malformed";
  }
  const std::uint16_t magic = read16(data + optional);
  const std::size_t countField = magic == kPe32Magic ? 92 : 108;
  if ((magic != kPe32Magic && magic != kPe32PlusMagic) || optionalSize < countField + 4) {
    return "the program's headers are malformed";
  }
  const std::size_t directories = optional + countField + 4;
  if (read32(data + optional + countField) <= kSecurityDirectory ||
      directories + (kSecurityDirectory + 1) * 8 > optional + optionalSize) {
    return "the file is not signed";
  }
  pe.checksum = optional + 64;
  pe.securityEntry = directories + kSecurityDirectory * 8;
  pe.tableOffset = read32(data + pe.securityEntry);
  pe.tableSize = read32(data + pe.securityEntry + 4);
  const std::size_t sectionTable = optional + optionalSize;
  if (sectionTable + sections * kSectionHeaderSize > size) {
    return "the program's headers are malformed";
  }
  std::uint64_t end = std::max<std::uint64_t>(read32(data + optional + 60),
                                              sectionTable + sections * kSectionHeaderSize);
  for (std::size_t i = 0; i < sections; ++i) {
    const std::uint8_t* header = data + sectionTable + i * kSectionHeaderSize;
    const std::uint64_t rawSize = read32(header + 16);
    if (rawSize != 0) {
      end = std::max<std::uint64_t>(end, read32(header + 20) + rawSize);
    }
  }
  pe.rawDataEnd = static_cast<std::size_t>(std::min<std::uint64_t>(end, size));
  return end > size ? "the program's sections run past the end of the file" : "";
}

// Checks the certificate table of `pe` and finds the SignedData in it.
std::string readCertificateTable(const std::uint8_t* data, std::size_t size, const PeHeaders& pe,
                                 ByteRange& signature) {
  if (pe.tableOffset == 0 && pe.tableSize == 0) {
    return "the file is not signed";
  }
  if (pe.tableOffset % 8 != 0 || pe.tableOffset < pe.rawDataEnd ||
      pe.tableSize < kCertificateHeaderSize || pe.tableOffset + pe.tableSize > size) {
    return "the certificate table is malformed";
  }
  const std::uint8_t* table = data + pe.tableOffset;
  const std::uint64_t length = read32(table);
  if (length < kCertificateHeaderSize || length > pe.tableSize ||
      ((length + 7) & ~std::uint64_t{7}) < pe.tableSize ||
      read16(table + 4) != kCertificateRevision ||
      read16(table + 6) != kCertificatePkcsSignedData) {
    return "the certificate table is malformed";
  }
  DerElement element;
  const std::size_t start = static_cast<std::size_t>(pe.tableOffset) + kCertificateHeaderSize;
  const std::size_t tableEnd = static_cast<std::size_t>(pe.tableOffset + pe.tableSize);
  if (!readDerElement(data, tableEnd, start, element) || element.tag != kDerSequence) {
    return "the signature is malformed";
  }
  // Padding only: fewer than 8 bytes, all zero. Bytes here would be covered by nothing.
  if (tableEnd - element.end() >= 8 ||
      std::any_of(data + element.end(), data + tableEnd, [](std::uint8_t b) { return b != 0; })) {
    return "the certificate table holds data beyond the signature";
  }
  signature = {start, element.end() - start};
  return "";
}

} // namespace

std::string readAuthenticodeLayout(const std::uint8_t* data, std::size_t size,
                                   SignedImageLayout& layout) {
  PeHeaders pe;
  std::string reason = readPeHeaders(data, size, pe);
  if (reason.empty()) {
    reason = readCertificateTable(data, size, pe, layout.signature);
  }
  if (!reason.empty()) {
    return reason;
  }
  const std::size_t tableOffset = static_cast<std::size_t>(pe.tableOffset);
  const std::size_t tableEnd = static_cast<std::size_t>(pe.tableOffset + pe.tableSize);
  layout.covered = {{0, pe.checksum},
                    {pe.checksum + 4, pe.securityEntry - (pe.checksum + 4)},
                    {pe.securityEntry + 8, tableOffset - (pe.securityEntry + 8)},
                    {tableEnd, size - tableEnd}};
  return "";
}

std::string readAppendedSignatureLayout(const std::uint8_t* data, std::size_t size,
                                        SignedImageLayout& layout) {
  if (data == nullptr || size < kAppendedSignatureTrailer ||
      std::memcmp(data + size - 8, kAppendedSignatureMagic, 8) != 0) {
    return "the file is not signed";
  }
  std::uint64_t length = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    length |= static_cast<std::uint64_t>(data[size - kAppendedSignatureTrailer + i]) << (8 * i);
  }
  const std::size_t end = size - kAppendedSignatureTrailer;
  if (length == 0 || length > end) {
    return "the signature is malformed";
  }
  const std::size_t start = end - static_cast<std::size_t>(length);
  DerElement element;
  if (!readDerElement(data, end, start, element) || element.tag != kDerSequence ||
      element.end() != end) {
    return "the signature is malformed";
  }
  layout.covered = {{0, start}};
  layout.signature = {start, static_cast<std::size_t>(length)};
  return "";
}

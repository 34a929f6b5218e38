// Small PE images for the download-tag tests, built byte by byte, the same on every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pe_fixture {

// File offsets of the image's parts.
constexpr std::uint32_t kPeOffset = 0x80;
constexpr std::uint32_t kChecksumField = kPeOffset + 24 + 64;
constexpr std::uint32_t kMachineField = kPeOffset + 4;
constexpr std::uint32_t kMagicField = kPeOffset + 24;
constexpr std::uint32_t kTableOffsetField = kPeOffset + 152;
constexpr std::uint32_t kTableSizeField = kPeOffset + 156;
// Where signedImage puts the certificate table: the end of the unsigned image.
constexpr std::uint32_t kTableOffset = 0x400;
// The DER data that signedImage puts into the table, in bytes.
constexpr std::size_t kDerSize = 300;

// An unsigned image of 0x400 bytes: "MZ", e_lfanew = kPeOffset, "PE\0\0", the file header with
// `machine`, a PE32 optional header (magic 0x10B, 16 data directories, checksum 0) and one
// section of 0x200 bytes.
std::string unsignedImage(std::uint16_t machine = 0x014C);

// `image` with a certificate table appended at its end, pointed at by data directory 4: one
// entry (its length counting the padding, revision 2, PKCS signed data) holding DER data of
// kDerSize bytes (0x30 0x82, two big-endian length bytes, zeros), then `afterDer`, then zeros to
// a multiple of 8 bytes.
std::string signedImage(const std::string& image, const std::string& afterDer = std::string());

// The marker "Gact2.0Omaha", `length` as two big-endian bytes, then `text`.
std::string tagBytes(std::uint16_t length, const std::string& text);
// The same with the length of `text`.
std::string tagBytes(const std::string& text);

std::uint32_t getLe32(const std::string& bytes, std::size_t at);
void putLe16(std::string& bytes, std::size_t at, std::uint16_t value);
void putLe32(std::string& bytes, std::size_t at, std::uint32_t value);

} // namespace pe_fixture

#include "omaha/PeFixture.h"

namespace pe_fixture {

std::uint32_t getLe32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

void putLe16(std::string& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
}

void putLe32(std::string& bytes, std::size_t at, std::uint32_t value) {
  putLe16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
  putLe16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

std::string unsignedImage(std::uint16_t machine) {
  std::string image(0x400, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  putLe32(image, 60, kPeOffset);
  image.replace(kPeOffset, 4, std::string("PE\0\0", 4));
  // File header: machine, one section, a 224-byte optional header, an executable image.
  putLe16(image, kMachineField, machine);
  putLe16(image, kPeOffset + 6, 1);
  putLe16(image, kPeOffset + 20, 224);
  putLe16(image, kPeOffset + 22, 0x0102);
  // Optional header: entry point and sizes of a one-section image at 0x400000.
  const std::size_t optional = kMagicField;
  putLe16(image, optional, 0x10B);
  putLe32(image, optional + 16, 0x1000);
  putLe32(image, optional + 28, 0x400000);
  putLe32(image, optional + 32, 0x1000);
  putLe32(image, optional + 36, 0x200);
  putLe16(image, optional + 40, 6);
  putLe16(image, optional + 48, 6);
  putLe32(image, optional + 56, 0x2000);
  putLe32(image, optional + 60, 0x200);
  putLe16(image, optional + 68, 3);
  putLe32(image, optional + 92, 16);
  // The section ".text", raw data at 0x200 (a single "ret").
  const std::size_t section = optional + 224;
  image.replace(section, 5, ".text");
  putLe32(image, section + 8, 1);
  putLe32(image, section + 12, 0x1000);
  putLe32(image, section + 16, 0x200);
  putLe32(image, section + 20, 0x200);
  putLe32(image, section + 36, 0x60000020);
  image[0x200] = static_cast<char>(0xC3);
  return image;
}

std::string signedImage(const std::string& image, const std::string& afterDer) {
  std::string der(kDerSize, '\0');
  der[0] = 0x30;
  der[1] = static_cast<char>(0x82);
  der[2] = static_cast<char>((kDerSize - 4) >> 8);
  der[3] = static_cast<char>((kDerSize - 4) & 0xFF);
  std::string entry(8, '\0');
  entry += der + afterDer;
  entry.resize((entry.size() + 7) / 8 * 8, '\0');
  putLe32(entry, 0, static_cast<std::uint32_t>(entry.size()));
  putLe16(entry, 4, 0x0200);
  putLe16(entry, 6, 0x0002);
  std::string out = image + entry;
  putLe32(out, kTableOffsetField, static_cast<std::uint32_t>(image.size()));
  putLe32(out, kTableSizeField, static_cast<std::uint32_t>(entry.size()));
  return out;
}

std::string tagBytes(std::uint16_t length, const std::string& text) {
  std::string tag = "Gact2.0Omaha";
  tag += static_cast<char>(length >> 8);
  tag += static_cast<char>(length & 0xFF);
  return tag + text;
}

std::string tagBytes(const std::string& text) {
  return tagBytes(static_cast<std::uint16_t>(text.size()), text);
}

} // namespace pe_fixture

#include "qmtag/SignedImage.h"

#include <algorithm>
#include <cstdint>

#include "qmtag/PeChecksum.h"
#include "qmtag/TagError.h"

namespace qmtag {

namespace {

const std::string kMarker = "Gact2.0Omaha";
constexpr std::uint16_t kRevision2 = 0x0200;
constexpr std::uint16_t kPkcsSignedData = 0x0002;

// Where the parts that qmtag edits lie in an image (file offsets and sizes in bytes).
struct Layout {
  std::size_t checksumField = 0;
  std::size_t directorySizeField = 0;
  std::size_t table = 0;
  std::size_t tableSize = 0;
  // Whether the entry's own length counts its zero padding, as osslsigncode writes it.
  bool lengthCountsPadding = true;
  // The signature's DER data: from table + 8, this many bytes.
  std::size_t derSize = 0;
  // What follows the DER data up to the table's end: the tag and the padding.
  std::string tail;
};

std::uint64_t le16(const std::string& bytes, std::uint64_t at) {
  return static_cast<unsigned char>(bytes[at]) |
         std::uint64_t(static_cast<unsigned char>(bytes[at + 1])) << 8;
}
std::uint64_t le32(const std::string& bytes, std::uint64_t at) {
  return le16(bytes, at) | le16(bytes, at + 2) << 16;
}
void putLe32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
  }
}
std::size_t roundUp8(std::size_t size) { return (size + 7) / 8 * 8; }

// The PE header checks: the offset of the optional header of a PE32 image.
std::uint64_t optionalHeader(const std::string& image) {
  const std::uint64_t size = image.size();
  if (size < 64 || image[0] != 'M' || image[1] != 'Z') {
    throw TagError("not a Windows executable (no MZ header)");
  }
  const std::uint64_t pe = le32(image, 60);
  if (pe + 24 + 2 > size || image.compare(pe, 4, std::string("PE\0\0", 4)) != 0) {
    throw TagError("not a Windows executable (no PE header)");
  }
  if (le16(image, pe + 4) == 0x8664) {
    throw TagError("an x64 executable: only 32-bit installers carry a download tag");
  }
  const std::uint64_t optional = pe + 24;
  const std::uint64_t magic = le16(image, optional);
  if (magic == 0x20B) {
    throw TagError("a 64-bit (PE32+) executable: only 32-bit installers carry a download tag");
  }
  // Room for the data directories up to the certificate table (entry 4).
  if (magic != 0x10B || le16(image, pe + 20) < 136 || optional + 136 > size ||
      le32(image, optional + 92) < 5) {
    throw TagError("not a 32-bit (PE32) executable with a certificate directory");
  }
  return optional;
}

// The certificate table's one entry: its DER data and what follows it.
void readEntry(const std::string& image, Layout& layout) {
  const std::size_t table = layout.table;
  if (layout.tableSize < 12 || le16(image, table + 4) != kRevision2 ||
      le16(image, table + 6) != kPkcsSignedData) {
    throw TagError("the certificate table holds no Authenticode signature entry");
  }
  const std::uint64_t entryLength = le32(image, table);
  if (entryLength < 12 || roundUp8(entryLength) != layout.tableSize) {
    throw TagError("the certificate table does not hold exactly one entry");
  }
  layout.lengthCountsPadding = entryLength == layout.tableSize;
  if (static_cast<unsigned char>(image[table + 8]) != 0x30 ||
      static_cast<unsigned char>(image[table + 9]) != 0x82) {
    throw TagError("the signature does not start with a DER SEQUENCE of two length bytes");
  }
  layout.derSize = 4 + (static_cast<unsigned char>(image[table + 10]) << 8 |
                        static_cast<unsigned char>(image[table + 11]));
  if (8 + layout.derSize > entryLength) {
    throw TagError("the signature's DER data runs past its certificate entry");
  }
  layout.tail = image.substr(table + 8 + layout.derSize);
}

Layout readLayout(const std::string& image) {
  const std::uint64_t optional = optionalHeader(image);
  Layout layout;
  layout.checksumField = static_cast<std::size_t>(optional + 64);
  layout.directorySizeField = static_cast<std::size_t>(optional + 128 + 4);
  const std::uint64_t table = le32(image, optional + 128);
  const std::uint64_t tableSize = le32(image, optional + 132);
  if (table == 0 && tableSize == 0) {
    throw TagError("not signed: the executable has no certificate table");
  }
  if (table + tableSize != image.size() || table < optional + 136) {
    throw TagError("the certificate table is not the last part of the file");
  }
  layout.table = static_cast<std::size_t>(table);
  layout.tableSize = static_cast<std::size_t>(tableSize);
  readEntry(image, layout);
  return layout;
}

// The tag's bytes at the start of `tail` (marker, length, text); empty when `tail` is padding.
std::size_t tagSize(const std::string& tail) {
  if (tail.compare(0, kMarker.size(), kMarker) == 0 && tail.size() >= kMarker.size() + 2) {
    const std::size_t length =
        static_cast<unsigned char>(tail[12]) << 8 | static_cast<unsigned char>(tail[13]);
    if (kMarker.size() + 2 + length <= tail.size()) {
      return kMarker.size() + 2 + length;
    }
  }
  return 0;
}

// `image` with the certificate entry holding the DER data and then `tag` (possibly empty).
std::string rebuilt(const std::string& image, const Layout& layout, const std::string& tag) {
  const std::size_t rest = layout.tail.size() - tagSize(layout.tail);
  if (std::any_of(layout.tail.end() - rest, layout.tail.end(), [](char c) { return c != 0; })) {
    throw TagError("unknown data follows the signature inside its certificate entry");
  }
  const std::size_t entryLength = 8 + layout.derSize + tag.size();
  const std::size_t tableSize = roundUp8(entryLength);
  std::string out = image.substr(0, layout.table + 8 + layout.derSize);
  out += tag;
  out.resize(layout.table + tableSize, '\0');
  putLe32(out, layout.table,
          static_cast<std::uint32_t>(layout.lengthCountsPadding ? tableSize : entryLength));
  putLe32(out, layout.directorySizeField, static_cast<std::uint32_t>(tableSize));
  if (le32(out, layout.checksumField) != 0) {
    putLe32(out, layout.checksumField, peChecksum(out, layout.checksumField));
  }
  return out;
}

} // namespace

std::string withTag(const std::string& image, const std::string& text) {
  if (text.empty() || text.size() > kMaxTagTextSize) {
    throw TagError("the tag text has " + std::to_string(text.size()) +
                   " bytes; it must have 1 to " + std::to_string(kMaxTagTextSize));
  }
  const Layout layout = readLayout(image);
  std::string tag = kMarker;
  tag += static_cast<char>(text.size() >> 8);
  tag += static_cast<char>(text.size() & 0xFF);
  tag += text;
  return rebuilt(image, layout, tag);
}

std::string withoutTag(const std::string& image) {
  return rebuilt(image, readLayout(image), std::string());
}

} // namespace qmtag

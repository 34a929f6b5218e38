// Reads the download tag out of the certificate table of a signed 32-bit Windows executable.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace omaha {

// Maps an executable read-only and finds its download tag: inside the certificate table that the
// PE headers point at, the first occurrence of the 12 bytes "Gact2.0Omaha", then N (16 bits,
// big-endian), then N bytes of tag text. Closed at first; open between a successful openImage and
// closeImage (or destruction). Never writes to the file; never reads outside the mapped view.
class TagExtractor {
public:
  TagExtractor();
  // Closes the image like closeImage.
  virtual ~TagExtractor();
  TagExtractor(const TagExtractor&) = delete;
  TagExtractor& operator=(const TagExtractor&) = delete;

  // Closes whatever is open, then maps the whole file at `path` read-only (shared for reading).
  // False, with everything closed again, when the file cannot be opened or mapped (an empty file
  // cannot be).
  bool openImage(const std::wstring& path);

  // Unmaps the view and closes the file; nothing happens when nothing is open.
  void closeImage();

  // Two calls read the tag. With `buffer` null, sets *count to N + 1 (bytes, room for a
  // terminating zero) and returns true. With a buffer of *count bytes: false when *count < N + 1;
  // otherwise copies the N text bytes, writes a zero byte after them and returns true, leaving
  // *count as it was. False when `count` is null, when nothing is open, and when the image holds
  // no tag: not a PE image, an x64 image, no certificate table, no marker, N = 0, or a text that
  // would run past the certificate table.
  bool readTag(char* buffer, std::int32_t* count);

private:
  // The platform's handles of the open file and its mapping.
  struct Mapping;
  struct MappingDeleter {
    void operator()(Mapping* mapping) const noexcept;
  };

  // The file and mapping handles; none while closed.
  std::unique_ptr<Mapping, MappingDeleter> mapping_;
  // The mapped view; null while closed.
  const unsigned char* view_ = nullptr;
  // Bytes of the view: the file size brought up to a whole number of pages.
  std::uint32_t mappedLength_ = 0;
  // The certificate table found by the last readTag: its size in bytes and its start in the view.
  std::uint32_t tableSize_ = 0;
  const unsigned char* table_ = nullptr;
};

} // namespace omaha

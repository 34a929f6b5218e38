// A reader of single DER elements (definite lengths only), for the few ASN.1 structures of a code
// signature that the TLS library has no parser for.
#pragma once

#include <cstddef>
#include <cstdint>

// One element found in a buffer: its tag byte and where its header and contents lie, as offsets
// in bytes from the start of the buffer it was read from.
struct DerElement {
  std::uint8_t tag = 0;
  std::size_t start = 0;    // offset of the tag byte
  std::size_t contents = 0; // offset of the first contents byte
  std::size_t length = 0;   // bytes of contents
  std::size_t end() const { return contents + length; }
};

inline constexpr std::uint8_t kDerSequence = 0x30;
inline constexpr std::uint8_t kDerOctetString = 0x04;
inline constexpr std::uint8_t kDerObjectIdentifier = 0x06;

// Reads the element that begins at `offset` in the `size` bytes at `data` into `element`. False
// (element unspecified) when the header is malformed: a multi-byte tag, an indefinite length, a
// length of more than four bytes or not in its shortest form, or contents that run past `size`.
bool readDerElement(const std::uint8_t* data, std::size_t size, std::size_t offset,
                    DerElement& element);

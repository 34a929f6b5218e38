// RC4, for the one step that hides the pass phrase inside the program.
#pragma once

#include <cstddef>

// RC4 here only keeps the pass phrase from standing in the program as plain text; it protects
// nothing cryptographically. XORs `size` bytes of `in` with the RC4 key stream of the
// `keySize`-byte `key` (1 to 256 bytes) into `out` (which may be `in`), and wipes its state.
void rc4(const unsigned char* key, std::size_t keySize, const unsigned char* in, unsigned char* out,
         std::size_t size);

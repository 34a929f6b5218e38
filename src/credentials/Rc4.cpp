#include "credentials/Rc4.h"

#include <openssl/crypto.h>

#include <utility>

void rc4(const unsigned char* key, std::size_t keySize, const unsigned char* in, unsigned char* out,
         std::size_t size) {
  unsigned char state[256];
  for (int i = 0; i < 256; ++i) {
    state[i] = static_cast<unsigned char>(i);
  }
  unsigned j = 0;
  for (unsigned i = 0; i < 256; ++i) {
    j = (j + state[i] + key[i % keySize]) & 0xFF;
    std::swap(state[i], state[j]);
  }
  unsigned i = 0;
  j = 0;
  for (std::size_t at = 0; at < size; ++at) {
    i = (i + 1) & 0xFF;
    j = (j + state[i]) & 0xFF;
    std::swap(state[i], state[j]);
    out[at] = in[at] ^ state[(state[i] + state[j]) & 0xFF];
  }
  OPENSSL_cleanse(state, sizeof state);
}

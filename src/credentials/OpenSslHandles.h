// Owners for the OpenSSL objects the credential code makes for a moment (see UniqueHandle.h).
#pragma once

#include <openssl/bio.h>

#include "utils/UniqueHandle.h"

namespace handles_detail {
inline void freeBio(BIO* bio) noexcept { BIO_free(bio); }
} // namespace handles_detail

// Memory streams from BIO_new_mem_buf.
using UniqueBio = UniqueHandle<BIO*, handles_detail::freeBio, 0>;

// Owners for the POSIX handle kinds the installer uses (see UniqueHandle.h).
#pragma once

#include <unistd.h>

#include "utils/UniqueHandle.h"

namespace handles_detail {
inline void closeDescriptor(int fd) noexcept { ::close(fd); }
} // namespace handles_detail

// File descriptors, sockets included; -1 means none.
using UniqueFd = UniqueHandle<int, handles_detail::closeDescriptor, -1>;

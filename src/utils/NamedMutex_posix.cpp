// Stands in for a "Global\" Windows mutex with a Unix socket bound in the abstract namespace under
// the mutex's name: one process at a time can bind it, across all users, and the kernel releases
// it when the owner closes it or dies.
#include "utils/NamedMutex.h"

#include <sys/socket.h>
#include <sys/un.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <stdexcept>

#include "utils/Handles_posix.h"
#include "utils/TextConversion.h"

struct NamedMutex {
  UniqueFd socket;
};

void NamedMutexCloser::operator()(NamedMutex* mutex) const noexcept { delete mutex; }

NamedMutexOutcome createNamedMutex(const std::wstring& name, NamedMutexHandle& owned) {
  std::string narrowName;
  try {
    narrowName = toUtf8(name);
  } catch (const std::range_error&) {
    return NamedMutexOutcome::Failed;
  }
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  // The abstract namespace: a leading zero byte, then the name (cut to what the address holds).
  const std::size_t length = std::min(narrowName.size(), sizeof(address.sun_path) - 1);
  std::memcpy(address.sun_path + 1, narrowName.data(), length);
  UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket) {
    return NamedMutexOutcome::Failed;
  }
  const auto addressLength = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
  if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&address), addressLength) != 0) {
    const int error = errno;
    return error == EADDRINUSE ? NamedMutexOutcome::AlreadyExists : NamedMutexOutcome::Failed;
  }
  owned.reset(new NamedMutex{std::move(socket)});
  return NamedMutexOutcome::Created;
}

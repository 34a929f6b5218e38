// Stands in for a "Global\" Windows mutex with a Unix socket bound in the abstract namespace: one
// process at a time can bind a name, across all users, and the kernel releases it when the owner
// closes it or dies. The name is the mutex's, scoped by the temporary folder: the users of a
// machine share /tmp, while a test with a TMPDIR of its own gets a namespace of its own.
#include "utils/NamedMutex.h"

#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "utils/Handles_posix.h"
#include "utils/Paths.h"
#include "utils/TextConversion.h"

struct NamedMutex {
  UniqueFd socket;
};

namespace {

// An abstract socket name holds at most 107 bytes: a longer name keeps its beginning and gets its
// FNV-1a hash in place of the rest, so distinct long names stay distinct.
std::string socketName(const std::string& name, std::size_t room) {
  if (name.size() <= room) {
    return name;
  }
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : name) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  char digits[17] = {};
  std::snprintf(digits, sizeof(digits), "%016llx", static_cast<unsigned long long>(hash));
  return name.substr(0, room - 17) + ":" + digits;
}

} // namespace

void NamedMutexCloser::operator()(NamedMutex* mutex) const noexcept { delete mutex; }

NamedMutexOutcome createNamedMutex(const std::wstring& name, NamedMutexHandle& owned) {
  std::string narrowName;
  try {
    narrowName = "quillmere:" + toUtf8(tempDirectory()) + ":" + toUtf8(name);
  } catch (const std::range_error&) {
    return NamedMutexOutcome::Failed;
  }
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  // The abstract namespace: a leading zero byte, then the name.
  const std::string bound = socketName(narrowName, sizeof(address.sun_path) - 1);
  const std::size_t length = bound.size();
  std::memcpy(address.sun_path + 1, bound.data(), length);
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

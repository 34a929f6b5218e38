#include "utils/NamedMutex.h"

#include <windows.h>

#include "utils/Handles_win.h"

struct NamedMutex {
  UniqueKernelHandle handle;
};

void NamedMutexCloser::operator()(NamedMutex* mutex) const noexcept { delete mutex; }

namespace {

// A mutex of that name exists when it can be opened for waiting.
bool mutexExists(const std::wstring& name) {
  const UniqueKernelHandle existing(::OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
  return existing.valid();
}

} // namespace

NamedMutexOutcome createNamedMutex(const std::wstring& name, NamedMutexHandle& owned) {
  if (mutexExists(name)) {
    return NamedMutexOutcome::AlreadyExists;
  }
  // A present but empty (null) access list grants every user every access, so copies in other
  // sessions can open it; the descriptor's calls are not checked.
  const UniqueLocalMemory descriptor(::LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH));
  ::InitializeSecurityDescriptor(descriptor.get(), SECURITY_DESCRIPTOR_REVISION);
  ::SetSecurityDescriptorDacl(descriptor.get(), TRUE, nullptr, FALSE);
  SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor.get(), FALSE};
  ::SetLastError(ERROR_SUCCESS);
  UniqueKernelHandle mutex(::CreateMutexW(&attributes, TRUE, name.c_str()));
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS) {
    return NamedMutexOutcome::AlreadyExists;
  }
  if (!mutex) {
    return NamedMutexOutcome::Failed;
  }
  owned.reset(new NamedMutex{std::move(mutex)});
  return NamedMutexOutcome::Created;
}

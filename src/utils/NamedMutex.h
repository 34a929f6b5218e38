// A machine-wide named mutex that one process at a time can own, released when its owner closes
// it or dies.
#pragma once

#include <memory>
#include <string>

// The platform's mutex object; only the platform files know what it holds.
struct NamedMutex;
struct NamedMutexCloser {
  void operator()(NamedMutex* mutex) const noexcept;
};
// Owns a created mutex; closing it (destroying the pointer) gives up ownership.
using NamedMutexHandle = std::unique_ptr<NamedMutex, NamedMutexCloser>;

enum class NamedMutexOutcome {
  Created,       // this process created and owns the mutex
  AlreadyExists, // another process holds it
  Failed,        // the platform could not create it for another reason
};

// Tries to create `name` (a "Global\" name) owned by the calling process, open to every user and
// not inherited by child processes. Finding it held, whether before creating or because another
// process created it in the meantime, gives AlreadyExists; only Created fills `owned`.
NamedMutexOutcome createNamedMutex(const std::wstring& name, NamedMutexHandle& owned);

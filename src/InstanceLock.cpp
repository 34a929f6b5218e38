#include "InstallerApp.h"

#include "MessageKeys.h"
#include "log/Log.h"

namespace {

// Machine-wide, so copies in other user sessions see it too.
const wchar_t* const kInstanceMutexName = L"Global\\_QM_INSTALLER_MASTER_INSTANCE";

} // namespace

void InstallerApp::lockInstanceMutex() {
  QM_LOG("Locking instance mutex");
  if (createNamedMutex(kInstanceMutexName, instanceMutex) == NamedMutexOutcome::AlreadyExists) {
    raiseError(MessageKeys::SingleInstanceOnly);
  }
}

#include "config/InstallationId.h"

#include <windows.h>
#include <rpc.h>

#include "utils/Handles_win.h"

std::wstring newRandomUuid() {
  UUID uuid = {};
  // RPC_S_UUID_LOCAL_ONLY still gives a random UUID; only a failure leaves none to store (an
  // all-zero identifier would be shared by every machine where it happened).
  const RPC_STATUS created = ::UuidCreate(&uuid);
  if (created != RPC_S_OK && created != RPC_S_UUID_LOCAL_ONLY) {
    return {};
  }
  RPC_WSTR text = nullptr;
  if (::UuidToStringW(&uuid, &text) != RPC_S_OK || text == nullptr) {
    return {};
  }
  const UniqueRpcString owned(text);
  return std::wstring(reinterpret_cast<const wchar_t*>(owned.get()));
}

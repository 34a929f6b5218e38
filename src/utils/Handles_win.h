// Owners for the Windows handle kinds the installer uses (see UniqueHandle.h).
#pragma once

#include <winsock2.h> // before windows.h, which would otherwise bring the old winsock.h

#include <windows.h>
#include <rpc.h>
#include <wincrypt.h>

#include "utils/UniqueHandle.h"

namespace handles_detail {
inline void closeKernelObject(HANDLE handle) noexcept { ::CloseHandle(handle); }
inline void closeRegistryKey(HKEY key) noexcept { ::RegCloseKey(key); }
inline void freeModule(HMODULE module) noexcept { ::FreeLibrary(module); }
inline void freeLocal(HLOCAL memory) noexcept { ::LocalFree(memory); }
inline void unmapView(const void* view) noexcept { ::UnmapViewOfFile(view); }
inline void releaseCryptProvider(HCRYPTPROV provider) noexcept {
  ::CryptReleaseContext(provider, 0);
}
inline void destroyCryptHash(HCRYPTHASH hash) noexcept { ::CryptDestroyHash(hash); }
inline void freeRpcString(RPC_WSTR text) noexcept { ::RpcStringFreeW(&text); }
inline void closeSocket(SOCKET socket) noexcept { ::closesocket(socket); }
} // namespace handles_detail

// Kernel objects whose creation fails with a null handle: mutexes, events, processes, threads.
using UniqueKernelHandle = UniqueHandle<HANDLE, handles_detail::closeKernelObject, 0>;
// Files from CreateFileW, which fails with INVALID_HANDLE_VALUE.
using UniqueFileHandle = UniqueHandle<HANDLE, handles_detail::closeKernelObject, -1>;
// File mappings from CreateFileMappingW, which fails with a null handle.
using UniqueMappingHandle = UniqueKernelHandle;
// Mapped views from MapViewOfFile.
using UniqueMappedView = UniqueHandle<const void*, handles_detail::unmapView, 0>;
using UniqueRegistryKey = UniqueHandle<HKEY, handles_detail::closeRegistryKey, 0>;
// Modules loaded by this program (never the process's own module, which must not be freed).
using UniqueModule = UniqueHandle<HMODULE, handles_detail::freeModule, 0>;
using UniqueLocalMemory = UniqueHandle<HLOCAL, handles_detail::freeLocal, 0>;
// CryptoAPI contexts (CryptAcquireContextW) and hash objects (CryptCreateHash); 0 means none.
using UniqueCryptProvider = UniqueHandle<HCRYPTPROV, handles_detail::releaseCryptProvider, 0>;
using UniqueCryptHash = UniqueHandle<HCRYPTHASH, handles_detail::destroyCryptHash, 0>;
// Strings that the RPC runtime allocated (UuidToStringW).
using UniqueRpcString = UniqueHandle<RPC_WSTR, handles_detail::freeRpcString, 0>;
// Winsock sockets, whose creation fails with INVALID_SOCKET.
using UniqueSocket =
    UniqueHandle<SOCKET, handles_detail::closeSocket, static_cast<std::intptr_t>(INVALID_SOCKET)>;

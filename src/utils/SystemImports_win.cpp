// The functions of crypt32 and bcrypt that the statically linked libcurl and OpenSSL import,
// defined here under the symbols those libraries link against (the import pointer "__imp__F@N"
// or the function "_F@N" itself) and forwarded to the System32 DLL on first use
// (SystemLibrary_win.h). The build links this library in place of crypt32 and bcrypt, so that
// the program imports neither statically. When a DLL or function is missing the call fails as
// the function reports failure. Each function is looked up once, on its first call (a function
// static, safe against concurrent first calls).
#include <windows.h>
#include <wincrypt.h>

#include "utils/SystemLibrary_win.h"

namespace {

using CertCloseStoreFunction = BOOL(WINAPI*)(HCERTSTORE, DWORD);
using CertEnumCertificatesInStoreFunction = PCCERT_CONTEXT(WINAPI*)(HCERTSTORE, PCCERT_CONTEXT);
using CertFreeCertificateContextFunction = BOOL(WINAPI*)(PCCERT_CONTEXT);
using CertGetEnhancedKeyUsageFunction = BOOL(WINAPI*)(PCCERT_CONTEXT, DWORD, PCERT_ENHKEY_USAGE,
                                                      DWORD*);
using CertGetIntendedKeyUsageFunction = BOOL(WINAPI*)(DWORD, PCERT_INFO, BYTE*, DWORD);
using CertOpenSystemStoreAFunction = HCERTSTORE(WINAPI*)(HCRYPTPROV_LEGACY, LPCSTR);
using BCryptGenRandomFunction = LONG(WINAPI*)(void*, PUCHAR, ULONG, ULONG);

constexpr LONG kStatusNotFound = static_cast<LONG>(0xC0000225);

} // namespace

extern "C" {

BOOL WINAPI qmCertCloseStore(HCERTSTORE store, DWORD flags) {
  static const auto call =
      systemFunctionAs<CertCloseStoreFunction>(L"crypt32.dll", "CertCloseStore");
  return call ? call(store, flags) : FALSE;
}

PCCERT_CONTEXT WINAPI qmCertEnumCertificatesInStore(HCERTSTORE store, PCCERT_CONTEXT previous) {
  static const auto call = systemFunctionAs<CertEnumCertificatesInStoreFunction>(
      L"crypt32.dll", "CertEnumCertificatesInStore");
  return call ? call(store, previous) : nullptr;
}

BOOL WINAPI qmCertFreeCertificateContext(PCCERT_CONTEXT context) {
  static const auto call = systemFunctionAs<CertFreeCertificateContextFunction>(
      L"crypt32.dll", "CertFreeCertificateContext");
  return call ? call(context) : FALSE;
}

BOOL WINAPI qmCertGetEnhancedKeyUsage(PCCERT_CONTEXT context, DWORD flags, PCERT_ENHKEY_USAGE usage,
                                      DWORD* size) {
  static const auto call =
      systemFunctionAs<CertGetEnhancedKeyUsageFunction>(L"crypt32.dll", "CertGetEnhancedKeyUsage");
  return call ? call(context, flags, usage, size) : FALSE;
}

BOOL WINAPI qmCertGetIntendedKeyUsage(DWORD encoding, PCERT_INFO info, BYTE* usage, DWORD size) {
  static const auto call =
      systemFunctionAs<CertGetIntendedKeyUsageFunction>(L"crypt32.dll", "CertGetIntendedKeyUsage");
  return call ? call(encoding, info, usage, size) : FALSE;
}

HCERTSTORE WINAPI qmCertOpenSystemStoreA(HCRYPTPROV_LEGACY provider, LPCSTR name) {
  static const auto call =
      systemFunctionAs<CertOpenSystemStoreAFunction>(L"crypt32.dll", "CertOpenSystemStoreA");
  return call ? call(provider, name) : nullptr;
}

// Called directly (not through an import pointer) by libcurl.
LONG WINAPI qmBCryptGenRandom(void* algorithm, PUCHAR buffer, ULONG size,
                              ULONG flags) __asm__("_BCryptGenRandom@16");
LONG WINAPI qmBCryptGenRandom(void* algorithm, PUCHAR buffer, ULONG size, ULONG flags) {
  static const auto call =
      systemFunctionAs<BCryptGenRandomFunction>(L"bcrypt.dll", "BCryptGenRandom");
  return call ? call(algorithm, buffer, size, flags) : kStatusNotFound;
}

// The import pointers the libraries call through.
extern CertCloseStoreFunction const qmImpCertCloseStore __asm__("__imp__CertCloseStore@8");
CertCloseStoreFunction const qmImpCertCloseStore = &qmCertCloseStore;
extern CertEnumCertificatesInStoreFunction const
    qmImpCertEnumCertificatesInStore __asm__("__imp__CertEnumCertificatesInStore@8");
CertEnumCertificatesInStoreFunction const qmImpCertEnumCertificatesInStore =
    &qmCertEnumCertificatesInStore;
extern CertFreeCertificateContextFunction const
    qmImpCertFreeCertificateContext __asm__("__imp__CertFreeCertificateContext@4");
CertFreeCertificateContextFunction const qmImpCertFreeCertificateContext =
    &qmCertFreeCertificateContext;
extern CertGetEnhancedKeyUsageFunction const
    qmImpCertGetEnhancedKeyUsage __asm__("__imp__CertGetEnhancedKeyUsage@16");
CertGetEnhancedKeyUsageFunction const qmImpCertGetEnhancedKeyUsage = &qmCertGetEnhancedKeyUsage;
extern CertGetIntendedKeyUsageFunction const
    qmImpCertGetIntendedKeyUsage __asm__("__imp__CertGetIntendedKeyUsage@16");
CertGetIntendedKeyUsageFunction const qmImpCertGetIntendedKeyUsage = &qmCertGetIntendedKeyUsage;
extern CertOpenSystemStoreAFunction const
    qmImpCertOpenSystemStoreA __asm__("__imp__CertOpenSystemStoreA@8");
CertOpenSystemStoreAFunction const qmImpCertOpenSystemStoreA = &qmCertOpenSystemStoreA;

} // extern "C"

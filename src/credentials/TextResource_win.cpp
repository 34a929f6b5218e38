#include "credentials/TextResource.h"

#include <windows.h>

std::string moduleTextResource(const std::wstring& name) {
  // The process's own module: never freed, so no owner is needed.
  const HMODULE module = ::GetModuleHandleW(nullptr);
  const HRSRC resource = ::FindResourceW(module, name.c_str(), L"TEXT");
  if (resource == nullptr) {
    return {};
  }
  const HGLOBAL loaded = ::LoadResource(module, resource);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  const DWORD size = ::SizeofResource(module, resource);
  if (data == nullptr || size == 0) {
    return {};
  }
  return std::string(static_cast<const char*>(data), size);
}

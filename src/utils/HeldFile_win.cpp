#include "utils/HeldFile.h"

#include <windows.h>

#include <cstdint>
#include <new>

#include "utils/Handles_win.h"

// Members in this order, so that the view goes before the mapping and the mapping before the file.
struct HeldFile::Handles {
  UniqueFileHandle file;
  UniqueMappingHandle mapping;
  UniqueMappedView view;
};

void HeldFile::HandlesDeleter::operator()(Handles* handles) const noexcept { delete handles; }

bool HeldFile::open(const std::wstring& path) {
  close();
  std::unique_ptr<Handles, HandlesDeleter> opened(new (std::nothrow) Handles);
  if (!opened) {
    return false;
  }
  // Sharing reading only: CreateProcessW can still open it for execution, nobody can open it for
  // writing, and renaming or deleting needs a sharing of deletion that is not granted.
  opened->file.reset(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size = {};
  if (!opened->file || ::GetFileType(opened->file.get()) != FILE_TYPE_DISK ||
      !::GetFileSizeEx(opened->file.get(), &size) || size.QuadPart < 0 ||
      static_cast<std::uint64_t>(size.QuadPart) > SIZE_MAX) {
    return false;
  }
  size_ = static_cast<std::size_t>(size.QuadPart);
  handles_ = std::move(opened);
  return true;
}

bool HeldFile::mapView() {
  unmapView();
  if (!handles_) {
    return false;
  }
  if (size_ == 0) {
    return true;
  }
  handles_->mapping.reset(
      ::CreateFileMappingW(handles_->file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (handles_->mapping) {
    handles_->view.reset(::MapViewOfFile(handles_->mapping.get(), FILE_MAP_READ, 0, 0, 0));
  }
  if (!handles_->view) {
    handles_->mapping.reset();
    return false;
  }
  view_ = static_cast<const std::uint8_t*>(handles_->view.get());
  return true;
}

void HeldFile::unmapView() {
  if (handles_) {
    handles_->view.reset();
    handles_->mapping.reset();
  }
  view_ = nullptr;
}

std::intptr_t HeldFile::nativeHandle() const {
  return handles_ ? reinterpret_cast<std::intptr_t>(handles_->file.get()) : -1;
}

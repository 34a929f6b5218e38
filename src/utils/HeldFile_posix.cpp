#include "utils/HeldFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <cstdint>
#include <new>
#include <stdexcept>

#include "utils/Handles_posix.h"
#include "utils/TextConversion.h"

struct HeldFile::Handles {
  UniqueFd file;
  void* view = nullptr; // mmap's view of `length` bytes, or null
  std::size_t length = 0;
  ~Handles() { unmap(); }
  void unmap() {
    if (view != nullptr) {
      ::munmap(view, length);
      view = nullptr;
    }
  }
};

void HeldFile::HandlesDeleter::operator()(Handles* handles) const noexcept { delete handles; }

bool HeldFile::open(const std::wstring& path) {
  close();
  std::string narrowPath;
  try {
    narrowPath = toUtf8(path);
  } catch (const std::range_error&) {
    return false;
  }
  std::unique_ptr<Handles, HandlesDeleter> opened(new (std::nothrow) Handles);
  if (!opened) {
    return false;
  }
  // Not inherited: the process started from it gets it as its program, not as a descriptor.
  opened->file.reset(::open(narrowPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  struct stat facts = {};
  if (!opened->file || ::fstat(opened->file.get(), &facts) != 0 || !S_ISREG(facts.st_mode) ||
      facts.st_size < 0 || static_cast<std::uint64_t>(facts.st_size) > SIZE_MAX) {
    return false;
  }
  size_ = static_cast<std::size_t>(facts.st_size);
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
  void* view = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, handles_->file.get(), 0);
  if (view == MAP_FAILED) {
    return false;
  }
  handles_->view = view;
  handles_->length = size_;
  view_ = static_cast<const std::uint8_t*>(view);
  return true;
}

void HeldFile::unmapView() {
  if (handles_) {
    handles_->unmap();
  }
  view_ = nullptr;
}

std::intptr_t HeldFile::nativeHandle() const { return handles_ ? handles_->file.get() : -1; }

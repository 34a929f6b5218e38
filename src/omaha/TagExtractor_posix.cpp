// Stands in for CreateFileW, CreateFileMappingW, MapViewOfFile and VirtualQuery with open, fstat
// and mmap; the view's length is the file size brought up to whole pages, as Windows reports it.
#include "omaha/TagExtractor.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <new>
#include <stdexcept>

#include "utils/Handles_posix.h"
#include "utils/TextConversion.h"

namespace omaha {

// The open file and its mapped view, which is unmapped before the file closes.
struct TagExtractor::Mapping {
  UniqueFd file;
  void* view = MAP_FAILED;
  std::size_t length = 0;

  ~Mapping() {
    if (view != MAP_FAILED) {
      ::munmap(view, length);
    }
  }
};

void TagExtractor::MappingDeleter::operator()(Mapping* mapping) const noexcept { delete mapping; }

namespace {

// The file size brought up to whole pages; 0 when it is empty or the view would not fit 32 bits.
std::size_t viewLength(int fd) {
  struct stat status = {};
  const long page = ::sysconf(_SC_PAGESIZE);
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0 || page <= 0) {
    return 0;
  }
  const std::uint64_t size = static_cast<std::uint64_t>(status.st_size);
  const std::uint64_t pages = (size + static_cast<std::uint64_t>(page) - 1) / page;
  const std::uint64_t length = pages * static_cast<std::uint64_t>(page);
  return length > UINT32_MAX ? 0 : static_cast<std::size_t>(length);
}

} // namespace

bool TagExtractor::openImage(const std::wstring& path) {
  closeImage();
  std::string narrow;
  try {
    narrow = toUtf8(path);
  } catch (const std::range_error&) {
    return false;
  }
  std::unique_ptr<Mapping, MappingDeleter> opened(new (std::nothrow) Mapping);
  if (!opened) {
    return false;
  }
  opened->file.reset(::open(narrow.c_str(), O_RDONLY | O_CLOEXEC));
  if (!opened->file) {
    return false;
  }
  const std::size_t length = viewLength(opened->file.get());
  if (length == 0) {
    return false;
  }
  opened->view = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, opened->file.get(), 0);
  if (opened->view == MAP_FAILED) {
    return false;
  }
  opened->length = length;
  view_ = static_cast<const unsigned char*>(opened->view);
  mappedLength_ = static_cast<std::uint32_t>(length);
  mapping_ = std::move(opened);
  return true;
}

} // namespace omaha

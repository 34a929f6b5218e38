#include "omaha/TagExtractor.h"

#include <windows.h>

#include <cstdint>
#include <new>

#include "utils/Handles_win.h"

namespace omaha {

// Members in this order, so that the view is unmapped before the mapping and the file close.
struct TagExtractor::Mapping {
  UniqueFileHandle file;
  UniqueMappingHandle mapping;
  UniqueMappedView view;
};

void TagExtractor::MappingDeleter::operator()(Mapping* mapping) const noexcept { delete mapping; }

bool TagExtractor::openImage(const std::wstring& path) {
  closeImage();
  std::unique_ptr<Mapping, MappingDeleter> opened(new (std::nothrow) Mapping);
  if (!opened) {
    return false;
  }
  opened->file.reset(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!opened->file) {
    return false;
  }
  opened->mapping.reset(
      ::CreateFileMappingW(opened->file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!opened->mapping) {
    return false;
  }
  opened->view.reset(::MapViewOfFile(opened->mapping.get(), FILE_MAP_READ, 0, 0, 0));
  if (!opened->view) {
    return false;
  }
  // The region of the view: the file size brought up to whole pages.
  MEMORY_BASIC_INFORMATION region = {};
  if (::VirtualQuery(opened->view.get(), &region, sizeof region) == 0 ||
      region.RegionSize > UINT32_MAX) {
    return false;
  }
  view_ = static_cast<const unsigned char*>(opened->view.get());
  mappedLength_ = static_cast<std::uint32_t>(region.RegionSize);
  mapping_ = std::move(opened);
  return true;
}

} // namespace omaha

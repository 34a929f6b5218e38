// Stands in for the Windows resource calls: looks the name up in the bytes compiled into the
// program (names match exactly; Windows ignores their case).
#include "credentials/TextResource.h"

#include "credentials/TextResources_posix.h"

std::string moduleTextResource(const std::wstring& name) {
  for (const EmbeddedText* entry = kTextResources; entry->name != nullptr; ++entry) {
    if (name == entry->name) {
      return std::string(reinterpret_cast<const char*>(entry->bytes), entry->size);
    }
  }
  return {};
}

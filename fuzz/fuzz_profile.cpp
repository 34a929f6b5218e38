// The POSIX stand-in's reading of installer.ini on arbitrary file bytes: the text decoding and the
// lookup of the installer's two keys, bounded as the installer bounds them.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "config/InstallerSettings.h"
#include "config/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring text =
      decodeProfileText(std::string(reinterpret_cast<const char*>(data), size));
  for (const wchar_t* key : {L"updateChannel", L"environment"}) {
    const std::wstring value = profileString(text, L"INSTALLER", key, kInstallerSettingMaxChars);
    QM_FUZZ_CHECK(value.size() <= kInstallerSettingMaxChars, "the value is cut to the bound");
    QM_FUZZ_CHECK(value.find_first_of(L"\r\n") == std::wstring::npos, "a value is one line");
    QM_FUZZ_CHECK(profileString(text, L" installer ", key, 3).size() <= 3, "a small bound holds");
  }
  return 0;
}

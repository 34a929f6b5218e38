#include "config/InstallerSettings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestEnvironment.h"
#include "utils/Paths.h"
#include "utils/TextConversion.h"

namespace {

const std::wstring kSeparator(1, kPathSeparator);

TEST(InstallerIniPath, IsBesideTheProgramWithOneSeparator) {
  EXPECT_EQ(installerIniPath(), moduleDirectory() + kSeparator + L"installer.ini");
  const std::wstring folder = kSeparator + L"programs" + kSeparator + L"quillmere";
  EXPECT_EQ(installerIniPath(folder), folder + kSeparator + L"installer.ini");
  EXPECT_EQ(installerIniPath(folder + kSeparator), folder + kSeparator + L"installer.ini");
  EXPECT_EQ(installerIniPath(folder + kSeparator + kSeparator),
            folder + kSeparator + L"installer.ini");
}

// The same files read by GetPrivateProfileStringW on Windows and by the stand-in natively.
class ReadInstallerSettings : public IsolatedTest {
protected:
  InstallerSettings readFile(const std::string& bytes) {
    const std::wstring path = installerIniPath(wideFolder());
    writeFile(toUtf8(path), bytes);
    return readInstallerSettings(path);
  }
};

TEST_F(ReadInstallerSettings, ReadsTheTwoKeysOfTheInstallerSection) {
  const struct {
    const char* name;
    std::string file;
    std::wstring channel;
    std::wstring environment;
  } cases[] = {
      {"plain", "[INSTALLER]\r\nupdateChannel=alpha\r\nenvironment=beta\r\n", L"alpha", L"beta"},
      {"line feeds only, no final line end", "[INSTALLER]\nupdateChannel=alpha\nenvironment=beta",
       L"alpha", L"beta"},
      {"names in any letter case", "[installer]\nUPDATECHANNEL=alpha\nEnvironment=beta\n", L"alpha",
       L"beta"},
      {"values keep their letter case", "[INSTALLER]\nupdateChannel=AlPhA\n", L"AlPhA", L""},
      {"surrounding blanks",
       "  [INSTALLER]  \n  updateChannel  =   al pha \t\n\tenvironment\t=\tbeta\n", L"al pha",
       L"beta"},
      {"quotation marks", "[INSTALLER]\nupdateChannel=\"alpha\"\nenvironment='beta'\n", L"alpha",
       L"beta"},
      {"unmatched quotation marks", "[INSTALLER]\nupdateChannel=\"alpha\nenvironment=beta'\n",
       L"\"alpha", L"beta'"},
      {"an equals sign in the value", "[INSTALLER]\nupdateChannel=a=b\n", L"a=b", L""},
      {"empty value and no value", "[INSTALLER]\nupdateChannel=\nenvironment\n", L"", L""},
      {"the first of two keys", "[INSTALLER]\nupdateChannel=first\nupdateChannel=second\n",
       L"first", L""},
      {"text after the section's bracket", "[INSTALLER] ; test channel\nupdateChannel=alpha\n",
       L"alpha", L""},
      {"another section", "[OTHER]\nupdateChannel=alpha\n[INSTALLER]\nenvironment=beta\n", L"",
       L"beta"},
      {"keys before every section", "updateChannel=alpha\n[INSTALLER]\nenvironment=beta\n", L"",
       L"beta"},
      {"a semicolon line is no comment but no key either",
       "[INSTALLER]\n;updateChannel=alpha\nenvironment=beta\n", L"", L"beta"},
      {"a section header without its bracket", "[INSTALLER\nupdateChannel=alpha\n", L"", L""},
      {"UTF-8 with its byte order mark",
       "\xEF\xBB\xBF[INSTALLER]\r\nupdateChannel=gr\xC3\xB6\xC3\x9F"
       "e\r\n",
       L"gr\u00f6\u00dfe", L""},
      {"UTF-16 with its byte order mark",
       std::string("\xFF\xFE[\0I\0N\0S\0T\0A\0L\0L\0E\0R\0]\0\n\0e\0n\0v\0i\0r\0o\0n\0m\0e\0n\0t\0="
                   "\0\xE4\0\n\0",
                   54),
       L"", L"\u00e4"},
      {"only the first of two sections of that name",
       "[INSTALLER]\nenvironment=beta\n[OTHER]\n[Installer]\nupdateChannel=alpha\n", L"", L"beta"},
      {"blanks inside the brackets", "[ INSTALLER ]\nupdateChannel=alpha\n", L"alpha", L""},
      {"carriage returns alone end lines too",
       "[INSTALLER]\rupdateChannel=alpha\renvironment=beta\n", L"alpha", L"beta"},
      {"empty file", "", L"", L""},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.name);
    const InstallerSettings settings = readFile(entry.file);
    EXPECT_EQ(settings.updateChannel, entry.channel);
    EXPECT_EQ(settings.environment, entry.environment);
  }
}

TEST_F(ReadInstallerSettings, CutsALongValueTo1023Characters) {
  const std::string value(3000, 'v');
  const InstallerSettings settings =
      readFile("[INSTALLER]\nupdateChannel=" + value + "\nenvironment=" + value.substr(0, 1023));
  EXPECT_EQ(settings.updateChannel, std::wstring(1023, L'v'));
  EXPECT_EQ(settings.environment, std::wstring(1023, L'v'));
}

TEST_F(ReadInstallerSettings, AMissingOrUnreadableFileGivesEmptyValues) {
  const InstallerSettings missing = readInstallerSettings(installerIniPath(wideFolder()));
  EXPECT_EQ(missing.updateChannel, L"");
  EXPECT_EQ(missing.environment, L"");
  // A folder where the file should be.
  const std::wstring path = installerIniPath(wideFolder());
  std::filesystem::create_directory(std::filesystem::u8path(toUtf8(path)));
  const InstallerSettings folder = readInstallerSettings(path);
  EXPECT_EQ(folder.updateChannel, L"");
  EXPECT_EQ(folder.environment, L"");
}

TEST_F(ReadInstallerSettings, BinaryGarbageBeforeTheSectionDoesNotHideIt) {
  std::string garbage;
  for (int i = 1; i < 256; ++i) {
    if (i != '\n' && i != '[' && i != '=') {
      garbage += static_cast<char>(i);
    }
  }
  const InstallerSettings settings =
      readFile(garbage + "\n\xC3\x28\xFF\n[INSTALLER]\nupdateChannel=alpha\n");
  EXPECT_EQ(settings.updateChannel, L"alpha");
}

} // namespace

#include "utils/Files.h"

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "utils/CurlHandles.h"
#include "utils/Paths.h"
#include "utils/TextConversion.h"

namespace {

class Files : public IsolatedTest {
protected:
  std::wstring path(const std::wstring& name) const { return joinPath(wideFolder(), name); }
};

TEST_F(Files, DirectoriesAreCreatedWithTheirParents) {
  const std::wstring nested = path(L"a") + kPathSeparator + L"b" + kPathSeparator + L"c";
  EXPECT_EQ(isDirectory(nested), 0);
  EXPECT_TRUE(createDirectories(toUtf8(nested)));
  EXPECT_EQ(isDirectory(nested), 1);
  // An existing folder is fine, and so is asking again.
  EXPECT_TRUE(createDirectories(toUtf8(nested)));
  EXPECT_TRUE(createDirectories(folder()));
}

TEST_F(Files, APlainFileIsNoDirectoryAndBlocksOne) {
  const std::wstring file = path(L"plain");
  writeFile(toUtf8(file), "x");
  EXPECT_EQ(isDirectory(file), 0);
  EXPECT_TRUE(fileExists(file));
  EXPECT_FALSE(createDirectories(toUtf8(file)));
  EXPECT_EQ(isDirectory(file + kPathSeparator + L"below"), 0);
}

TEST_F(Files, DeleteRemovesFilesAndReportsMissingOnes) {
  const std::wstring file = path(L"gone \u00E4.txt");
  writeFile(toUtf8(file), "content");
  EXPECT_TRUE(fileExists(file));
  EXPECT_TRUE(deleteFile(file));
  EXPECT_FALSE(fileExists(file));
  EXPECT_FALSE(deleteFile(file));
}

TEST_F(Files, WholeFilesAreReadAsTheirBytes) {
  const std::wstring file = path(L"doc \u00E4.json");
  const std::string bytes = std::string("{\"a\":\r\n1}") + '\0' + '\xff' + std::string(10000, 'x');
  writeFile(toUtf8(file), bytes);
  std::string got = "old";
  EXPECT_TRUE(readWholeFile(file, got));
  EXPECT_EQ(got, bytes);
  writeFile(toUtf8(file), "");
  EXPECT_TRUE(readWholeFile(file, got));
  EXPECT_EQ(got, "");
  got = "old";
  EXPECT_FALSE(readWholeFile(path(L"missing.json"), got));
  EXPECT_EQ(got, "");
}

// The log's file: lines end the platform's way.
TEST_F(Files, TextFilesEndLinesThePlatformsWay) {
  const std::wstring file = path(L"log \u00E4.txt");
  {
    const UniqueFile text(openTextFileForWriting(file));
    ASSERT_TRUE(text);
    std::fputs("one\ntwo\n", text.get());
  }
  std::string got;
  ASSERT_TRUE(readWholeFile(file, got));
  EXPECT_EQ(got, kPathSeparator == L'\\' ? "one\r\ntwo\r\n" : "one\ntwo\n");
}

} // namespace

namespace {

// The log's folder is written with forward slashes after a platform path.
TEST_F(Files, DirectoriesWithMixedSeparatorsAreCreated) {
  const std::string mixed = folder() + "/Quillworks/QuillmereClient";
  EXPECT_TRUE(createDirectories(mixed));
  EXPECT_EQ(isDirectory(toUtf16(mixed)), 1);
}

} // namespace

#include "utils/Files.h"

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
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

} // namespace

namespace {

// The log's folder is written with forward slashes after a platform path.
TEST_F(Files, DirectoriesWithMixedSeparatorsAreCreated) {
  const std::string mixed = folder() + "/Quillworks/QuillmereClient";
  EXPECT_TRUE(createDirectories(mixed));
  EXPECT_EQ(isDirectory(toUtf16(mixed)), 1);
}

} // namespace

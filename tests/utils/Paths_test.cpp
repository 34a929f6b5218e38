#include "utils/Paths.h"

#include <gtest/gtest.h>

#include <string>

#include "utils/Files.h"

namespace {

// Paths written with the platform's separator S.
std::wstring withSeparators(std::wstring path) {
  for (wchar_t& c : path) {
    if (c == L'S') {
      c = kPathSeparator;
    }
  }
  return path;
}

TEST(Paths, JoinPathPutsExactlyOneSeparatorBeforeTheName) {
  const struct {
    std::wstring directory, expected;
  } cases[] = {
      {L"CSdir", L"CSdirSinstaller.ini"},   {L"CSdirS", L"CSdirSinstaller.ini"},
      {L"CSdirSS", L"CSdirSinstaller.ini"}, {L"S", L"Sinstaller.ini"},
      {L"SS", L"Sinstaller.ini"},           {L"", L"Sinstaller.ini"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(joinPath(withSeparators(c.directory), L"installer.ini"), withSeparators(c.expected));
  }
}

TEST(Paths, DirectoryOfCutsAtTheLastSlashOfEitherKind) {
  EXPECT_EQ(directoryOf(L"C:\\Users\\me\\Downloads\\QuillmereInstaller.exe"),
            L"C:\\Users\\me\\Downloads");
  EXPECT_EQ(directoryOf(L"C:/Users/me/QuillmereInstaller.exe"), L"C:/Users/me");
  EXPECT_EQ(directoryOf(L"C:\\a/b\\c.exe"), L"C:\\a/b");
  EXPECT_EQ(directoryOf(L"QuillmereInstaller.exe"), L"QuillmereInstaller.exe");
}

TEST(Paths, FoldersOfTheRunningProcess) {
  const std::wstring module = modulePath();
  ASSERT_FALSE(module.empty());
  EXPECT_TRUE(fileExists(module));
  EXPECT_EQ(isDirectory(moduleDirectory()), 1);

  const std::wstring temp = tempDirectory();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), kPathSeparator);
  // (The Windows C runtime's _wstat refuses a trailing backslash, so existence is asked.)
  EXPECT_TRUE(fileExists(temp));

  const std::wstring appData = localAppDataDirectory();
  ASSERT_FALSE(appData.empty());
  EXPECT_NE(appData.back(), kPathSeparator);
  EXPECT_EQ(isDirectory(appData), 1);

  EXPECT_EQ(isDirectory(currentDirectory()), 1);
}

TEST(Paths, NativeSeparatorsOfSourcePaths) {
  const std::string converted = toNativeSeparators("/build/src/utils/Paths.cpp");
  if (kPathSeparator == L'\\') {
    EXPECT_EQ(converted, "\\build\\src\\utils\\Paths.cpp");
  } else {
    EXPECT_EQ(converted, "/build/src/utils/Paths.cpp");
  }
}

} // namespace

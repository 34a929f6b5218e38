#include "utils/HeldFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "utils/Handles_win.h"
#include "utils/Paths.h"
#include "utils/TextConversion.h"

namespace {

class HeldFilesOnWindows : public IsolatedTest {};

// The error of opening `path` with `access` and `share`; 0 when the open succeeds.
DWORD openError(const std::wstring& path, DWORD access, DWORD share) {
  const UniqueFileHandle file(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
  return file ? 0 : ::GetLastError();
}

TEST_F(HeldFilesOnWindows, OthersMayReadButNotWriteRenameOrDelete) {
  const std::wstring file = joinPath(wideFolder(), L"QuillmereLoginSetup.exe");
  writeFile(toUtf8(file), "setup");
  HeldFile held;
  ASSERT_TRUE(held.open(file));
  const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  EXPECT_EQ(openError(file, GENERIC_READ, all), 0u);
  EXPECT_EQ(openError(file, GENERIC_WRITE, all), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(openError(file, DELETE, all), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(::DeleteFileW(file.c_str()));
  EXPECT_FALSE(::MoveFileExW(file.c_str(), (file + L".moved").c_str(), MOVEFILE_REPLACE_EXISTING));
  held.close();
  EXPECT_TRUE(::DeleteFileW(file.c_str()));
}

TEST_F(HeldFilesOnWindows, AFileOpenForWritingCannotBeHeld) {
  const std::wstring file = joinPath(wideFolder(), L"being written.exe");
  writeFile(toUtf8(file), "setup");
  const UniqueFileHandle writer(::CreateFileW(file.c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  HeldFile held;
  EXPECT_FALSE(held.open(file));
}

} // namespace

#include "utils/HeldFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/TestEnvironment.h"
#include "utils/Files.h"
#include "utils/Paths.h"
#include "utils/Process.h"
#include "utils/TextConversion.h"

namespace {

// The file name ending of programs on this platform.
const std::wstring kProgramSuffix = helperProgram(L"x").substr(helperProgram(L"x").rfind(L'x') + 1);

class HeldFiles : public IsolatedTest {
protected:
  std::wstring path(const std::wstring& name) const { return joinPath(wideFolder(), name); }
  // A copy of the exit_with helper in the test's folder.
  std::wstring helperCopy(const std::wstring& name) const {
    const std::wstring copy = path(name);
    writeFile(toUtf8(copy), readFile(toUtf8(helperProgram(L"exit_with"))));
    return copy;
  }
};

TEST_F(HeldFiles, ViewsTheWholeFileUntilClosed) {
  const std::wstring file = path(L"setup \u00E4.bin");
  writeFile(toUtf8(file), std::string("held\0bytes", 10));
  HeldFile held;
  ASSERT_TRUE(held.open(file));
  ASSERT_TRUE(held.mapView());
  ASSERT_EQ(held.size(), 10u);
  EXPECT_EQ(std::memcmp(held.view(), "held\0bytes", 10), 0);
  held.unmapView();
  EXPECT_EQ(held.view(), nullptr);
  EXPECT_TRUE(held.isOpen());
  HeldFile moved = std::move(held);
  EXPECT_FALSE(held.isOpen());
  EXPECT_TRUE(moved.isOpen());
  moved.close();
  EXPECT_FALSE(moved.isOpen());
  EXPECT_EQ(moved.nativeHandle(), -1);
  EXPECT_TRUE(deleteFile(file));
}

TEST_F(HeldFiles, EmptyMissingAndFolderPaths) {
  const std::wstring empty = path(L"empty");
  writeFile(toUtf8(empty), "");
  HeldFile held;
  ASSERT_TRUE(held.open(empty));
  EXPECT_TRUE(held.mapView());
  EXPECT_EQ(held.size(), 0u);
  EXPECT_EQ(held.view(), nullptr);
  EXPECT_FALSE(held.open(path(L"missing")));
  EXPECT_FALSE(held.isOpen());
  EXPECT_FALSE(held.open(wideFolder()));
  EXPECT_FALSE(held.mapView());
}

TEST_F(HeldFiles, TheHeldProgramRunsAndIsReleasedOnceStarted) {
  const std::wstring program = helperCopy(L"held program" + kProgramSuffix);
  HeldFile held;
  ASSERT_TRUE(held.open(program));
  EXPECT_EQ(runHeldProgramAndWait(held, L"\"" + program + L"\" 42"), 42u);
  EXPECT_FALSE(held.isOpen());
  EXPECT_TRUE(deleteFile(program));
  // Nothing held: nothing runs.
  EXPECT_EQ(runHeldProgramAndWait(held, L"\"" + program + L"\" 42"), 0u);
}

TEST_F(HeldFiles, AHeldFileThatIsNoProgramDoesNotStart) {
  const std::wstring file = path(L"no program" + kProgramSuffix);
  writeFile(toUtf8(file), std::string(4096, 'x'));
  HeldFile held;
  ASSERT_TRUE(held.open(file));
  EXPECT_EQ(runHeldProgramAndWait(held, L"\"" + file + L"\" 42"), 0u);
  EXPECT_FALSE(held.isOpen());
}

} // namespace

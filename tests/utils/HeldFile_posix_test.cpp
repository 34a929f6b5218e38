#include "utils/HeldFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "support/TestEnvironment.h"
#include "utils/Paths.h"
#include "utils/Process.h"
#include "utils/TextConversion.h"

namespace {

class HeldFilesOnPosix : public IsolatedTest {};

// POSIX has no sharing modes: the descriptor holds the file itself, so a program that replaces
// the path changes neither the bytes read nor the program started through it.
TEST_F(HeldFilesOnPosix, ReplacingThePathChangesNothingHeld) {
  const std::string program = folder() + "/QuillmereLoginSetup";
  writeFile(program, readFile(toUtf8(helperProgram(L"exit_with"))));
  HeldFile held;
  ASSERT_TRUE(held.open(toUtf16(program)));
  const std::string other = folder() + "/other";
  writeFile(other, "#!/bin/sh\nexit 7\n");
  ASSERT_EQ(std::rename(other.c_str(), program.c_str()), 0);
  ASSERT_TRUE(held.mapView());
  EXPECT_EQ(std::memcmp(held.view(),
                        "\x7F"
                        "ELF",
                        4),
            0);
  held.unmapView();
  EXPECT_EQ(runHeldProgramAndWait(held, toUtf16(program) + L" 3"), 3u);
}

} // namespace

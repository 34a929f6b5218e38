#include "ui/ProgressWindowTerminal_posix.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ProgressWindowTerminal, LinksAreWrittenOut) {
  const struct {
    std::wstring text, shown;
  } cases[] = {
      {L"contact our <a href=\"https://s.example/x\">Support</a>.",
       L"contact our Support (https://s.example/x)."},
      {L"<a href=\"a\">A</a> and <a href=\"b\">B</a>", L"A (a) and B (b)"},
      {L"no markup", L"no markup"},
      {L"half <a href=\"https://s.example\">open", L"half <a href=\"https://s.example\">open"},
      {L"<a href=\"x", L"<a href=\"x"},
      {L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(spellOutLinks(c.text), c.shown);
  }
}

TEST(ProgressWindowTerminal, StatusLineShowsTheBar) {
  const struct {
    std::wstring status;
    int position;
    std::string line;
  } cases[] = {
      {L"", 0, "[--------------------]   0%"},
      {L"Checking for updates.", 50, "Checking for updates.  [##########----------]  50%"},
      {L"Done", 100, "Done  [####################] 100%"},
      {L"Done", 99, "Done  [###################-]  99%"},
      {L"Clamped", 150, "Clamped  [####################] 100%"},
      {L"\u00dcber", 5,
       "\xc3\x9c"
       "ber  [#-------------------]   5%"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(statusLine(c.status, c.position), c.line);
  }
  EXPECT_EQ(progressLine(40), "Progress: 40%");
}

} // namespace

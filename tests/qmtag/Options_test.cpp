#include "qmtag/Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using qmtag::Command;
using qmtag::parseOptions;
using qmtag::UsageError;

namespace {

using Arguments = std::vector<std::string>;

TEST(QmtagOptions, SetTakesTheFourMembersInEitherFormAndTwoFiles) {
  const qmtag::Options options =
      parseOptions({"set", "--game", "123", "--locale=deu_deu", "--client-id", "1.2", "--injection",
                    "x=y", "in.exe", "out.exe"});
  EXPECT_EQ(options.command, Command::Set);
  const std::map<std::string, std::string> members = {
      {"g", "123"}, {"l", "deu_deu"}, {"c", "1.2"}, {"i", "x=y"}};
  EXPECT_EQ(options.members, members);
  EXPECT_EQ(options.input, "in.exe");
  EXPECT_EQ(options.output, "out.exe");

  const qmtag::Options get = parseOptions({"get", "file.exe"});
  EXPECT_EQ(get.command, Command::Get);
  EXPECT_EQ(get.input, "file.exe");
  EXPECT_EQ(parseOptions({"remove", "a", "b"}).output, "b");
  EXPECT_EQ(parseOptions({"--help"}).command, Command::Help);
}

TEST(QmtagOptions, RefusesMalformedCommandLines) {
  const std::vector<Arguments> cases = {
      {},
      {"tag", "in", "out"},
      {"set", "in", "out"},
      {"set", "--game", "1", "in"},
      {"set", "--game", "1", "in", "out", "extra"},
      {"set", "--game"},
      {"set", "in", "out", "--game"},
      {"set", "--game=", "in", "out"},
      {"set", "--game", "1", "--game", "2", "in", "out"},
      {"set", "--colour", "red", "in", "out"},
      {"get"},
      {"get", "a", "b"},
      {"get", "--game", "1", "a"},
      {"remove", "a"},
  };
  for (const Arguments& arguments : cases) {
    std::string line;
    for (const std::string& argument : arguments) {
      line += argument + " ";
    }
    SCOPED_TRACE(line);
    EXPECT_THROW(parseOptions(arguments), UsageError);
  }
}

} // namespace

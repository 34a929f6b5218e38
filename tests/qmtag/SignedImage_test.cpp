#include "qmtag/SignedImage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "omaha/PeFixture.h"
#include "qmtag/PeChecksum.h"
#include "qmtag/TagError.h"

using namespace pe_fixture;
using namespace qmtag;

namespace {

const std::string kMarker = "Gact2.0Omaha";

std::size_t count(const std::string& haystack, const std::string& needle) {
  std::size_t found = 0;
  for (std::size_t at = haystack.find(needle); at != std::string::npos;
       at = haystack.find(needle, at + 1)) {
    ++found;
  }
  return found;
}

TEST(SignedImage, WritesTheTagAfterTheDerDataAndKeepsTheTableAligned) {
  const std::string original = signedImage(unsignedImage());
  const std::string out = withTag(original, "abcde");
  // Everything before the table is unchanged but the directory's size.
  EXPECT_EQ(out.substr(0, kTableSizeField), original.substr(0, kTableSizeField));
  EXPECT_EQ(out.substr(kTableSizeField + 4, kTableOffset - kTableSizeField - 4),
            original.substr(kTableSizeField + 4, kTableOffset - kTableSizeField - 4));
  EXPECT_EQ(out.substr(kTableOffset + 8 + kDerSize, 19), tagBytes("abcde"));
  const std::uint32_t tableSize = getLe32(out, kTableSizeField);
  EXPECT_EQ(tableSize % 8, 0u);
  EXPECT_EQ(kTableOffset + tableSize, out.size());
  EXPECT_EQ(getLe32(out, kTableOffset), tableSize);
  EXPECT_GE(tableSize, 8 + kDerSize + 19);
  EXPECT_LT(tableSize, 8 + kDerSize + 19 + 8);
}

TEST(SignedImage, ASecondTagReplacesTheFirstAndRemovalRestoresTheSignedFile) {
  const std::string original = signedImage(unsignedImage());
  const std::string once = withTag(original, std::string(40, 'a'));
  const std::string twice = withTag(once, "bb");
  EXPECT_EQ(twice, withTag(original, "bb"));
  EXPECT_EQ(count(twice, kMarker), 1u);
  EXPECT_EQ(twice.find(std::string(40, 'a')), std::string::npos);
  EXPECT_EQ(withoutTag(twice), original);
  EXPECT_EQ(withoutTag(original), original);
}

TEST(SignedImage, AnEntryLengthWithoutPaddingKeepsThatForm) {
  // Signers other than osslsigncode leave the padding out of the entry's own length.
  std::string original = signedImage(unsignedImage());
  putLe32(original, kTableOffset, 8 + kDerSize);
  const std::string out = withTag(original, "abc");
  EXPECT_EQ(getLe32(out, kTableOffset), 8 + kDerSize + 17);
  EXPECT_EQ(getLe32(out, kTableSizeField) % 8, 0u);
  EXPECT_EQ(withoutTag(out), original);
}

TEST(SignedImage, UpdatesAChecksumThatIsSet) {
  std::string original = signedImage(unsignedImage());
  const std::string unchecked = withTag(original, "abc");
  EXPECT_EQ(getLe32(unchecked, kChecksumField), 0u);
  putLe32(original, kChecksumField, 1);
  const std::string out = withTag(original, "abc");
  EXPECT_EQ(getLe32(out, kChecksumField), peChecksum(out, kChecksumField));
  EXPECT_NE(getLe32(out, kChecksumField), peChecksum(original, kChecksumField));
}

TEST(PeChecksum, SumsWordsWithCarriesLeavesTheFieldOutAndAddsTheSize) {
  // Words 0xFFFF and 0x0002 fold to 0x0002; the field (bytes 4 to 7) does not count; an odd last
  // byte is a word of its own; then the size, 9.
  const std::string image("\xFF\xFF\x02\x00\x12\x34\x56\x78\x05", 9);
  EXPECT_EQ(peChecksum(image, 4), 0x0002u + 0x0005u + 9u);
}

struct Refusal {
  const char* name;
  std::string image;
  std::string text;
};

TEST(SignedImage, RefusesWhatItCannotTagSoundly) {
  const std::string good = signedImage(unsignedImage());
  std::string pe32Plus = signedImage(unsignedImage());
  putLe16(pe32Plus, kMagicField, 0x20B);
  std::string twoEntries = good + std::string(16, '\0');
  putLe32(twoEntries, kTableSizeField, getLe32(good, kTableSizeField) + 16);
  std::string unknownData = good;
  unknownData[kTableOffset + 8 + kDerSize] = 'x';
  std::string shortDer = good;
  shortDer[kTableOffset + 10] = 0x7F;
  const std::vector<Refusal> cases = {
      {"unsigned", unsignedImage(), "ab"},
      {"x64", signedImage(unsignedImage(0x8664)), "ab"},
      {"PE32+", pe32Plus, "ab"},
      {"not an executable", std::string(2000, 'x'), "ab"},
      {"truncated", good.substr(0, 100), "ab"},
      {"table not at the end", good + std::string(8, '\0'), "ab"},
      {"two entries", twoEntries, "ab"},
      {"unknown data after the signature", unknownData, "ab"},
      {"DER data longer than its entry", shortDer, "ab"},
      {"empty tag text", good, ""},
      {"tag text over 8205 bytes", good, std::string(kMaxTagTextSize + 1, 'a')},
  };
  for (const Refusal& refusal : cases) {
    SCOPED_TRACE(refusal.name);
    EXPECT_THROW(withTag(refusal.image, refusal.text), TagError);
  }
  EXPECT_NO_THROW(withTag(good, std::string(kMaxTagTextSize, 'a')));
}

} // namespace

#include "omaha/TagExtractor.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "omaha/PeFixture.h"
#include "qmtag/SignedImage.h"
#include "support/TestEnvironment.h"
#include "utils/Files.h"
#include "utils/Paths.h"
#include "utils/TextConversion.h"

using namespace pe_fixture;

namespace {

// Where afterDer begins inside a table made by signedImage.
constexpr std::uint32_t kAfterDer = 8 + kDerSize;

// A signed image whose tag is `text`, written right after the DER data.
std::string tagged(const std::string& text, std::uint16_t machine = 0x014C) {
  return signedImage(unsignedImage(machine), tagBytes(text));
}

// `image` with the 32-bit field at `at` set to `value`.
std::string with32(std::string image, std::size_t at, std::uint32_t value) {
  putLe32(image, at, value);
  return image;
}

std::string withByte(std::string image, std::size_t at, char value) {
  image[at] = value;
  return image;
}

class TagExtractorTest : public IsolatedTest {
protected:
  // Writes `bytes` as a file of the test's folder and returns its path.
  std::wstring writeImage(const std::string& bytes, const std::string& name = "image.exe") {
    const std::wstring path = joinPath(wideFolder(), toUtf16(name));
    writeFile(toUtf8(path), bytes);
    return path;
  }

  // The tag text of the image `bytes` as the two-call protocol gives it; none when readTag fails.
  std::optional<std::string> tagOf(const std::string& bytes) {
    omaha::TagExtractor extractor;
    if (!extractor.openImage(writeImage(bytes))) {
      ADD_FAILURE() << "openImage failed";
      return std::nullopt;
    }
    std::int32_t count = 0;
    if (!extractor.readTag(nullptr, &count)) {
      return std::nullopt;
    }
    std::vector<char> buffer(static_cast<std::size_t>(count), 'X');
    EXPECT_TRUE(extractor.readTag(buffer.data(), &count));
    EXPECT_EQ(buffer.back(), '\0');
    return std::string(buffer.data(), buffer.size() - 1);
  }
};

struct TagCase {
  const char* name;
  std::string image;
  std::optional<std::string> tag;
};

TEST_F(TagExtractorTest, ReadsTheTagOnlyFromAWellFormedCertificateTable) {
  const std::string signedOnly = signedImage(unsignedImage());
  const std::string abc = tagged("abc");
  const std::string hexJson = "7b2267223a22313233227d"; // {"g":"123"}
  std::string beforeTable = signedOnly;
  beforeTable.replace(0x210, 17, tagBytes("abc"));
  const std::vector<TagCase> cases = {
      {"unsigned", unsignedImage(), std::nullopt},
      {"signed without a tag", signedOnly, std::nullopt},
      {"signed and tagged with qmtag", qmtag::withTag(signedOnly, hexJson), hexJson},
      {"a tag right after the DER data", abc, "abc"},
      {"a marker outside the table only", beforeTable, std::nullopt},
      {"an x64 image", tagged("abc", 0x8664), std::nullopt},
      {"another machine, read as PE32", tagged("abc", 0x01C4), "abc"},
      {"a marker running past the table's end", with32(abc, kTableSizeField, kAfterDer + 6),
       std::nullopt},
      {"a text running past the table's end", with32(abc, kTableSizeField, kAfterDer + 14 + 2),
       std::nullopt},
      {"a text running past the mapped view", signedImage(unsignedImage(), tagBytes(0xFFFF, "abc")),
       std::nullopt},
      {"two markers: the first counts",
       signedImage(unsignedImage(), tagBytes("first") + tagBytes("second")), "first"},
      {"a first marker of length 0 ends the search",
       signedImage(unsignedImage(), tagBytes(0, "") + tagBytes("second")), std::nullopt},
      {"length bytes 0x01 0x00 mean 256", tagged(std::string(256, 'x')), std::string(256, 'x')},
      {"a tag of length 0", signedImage(unsignedImage(), tagBytes(0, "abc")), std::nullopt},
      {"a two-byte file", "MZ", std::nullopt},
      {"no MZ", withByte(abc, 0, 'X'), std::nullopt},
      {"no PE signature", withByte(abc, kPeOffset + 1, 'X'), std::nullopt},
      {"e_lfanew that wraps around", with32(abc, 60, 0xFFFFFFF0), std::nullopt},
      {"e_lfanew past the view", with32(abc, 60, 4000), std::nullopt},
      {"a table at offset 0", with32(abc, kTableOffsetField, 0), std::nullopt},
      {"a table offset that wraps around", with32(abc, kTableOffsetField, 0xFFFFFFF8),
       std::nullopt},
      {"a table size that wraps around", with32(abc, kTableSizeField, 0xFFFFFFF0), std::nullopt},
      {"a table size past the view", with32(abc, kTableSizeField, 4096 - kTableOffset + 8),
       std::nullopt},
      {"a table without a DER SEQUENCE", withByte(abc, kTableOffset + 9, char(0x81)), std::nullopt},
      {"truncated inside the headers", abc.substr(0, 0x100), std::nullopt},
      {"truncated inside the table", abc.substr(0, kTableOffset + 100), std::nullopt},
  };
  for (const TagCase& tagCase : cases) {
    SCOPED_TRACE(tagCase.name);
    EXPECT_EQ(tagOf(tagCase.image), tagCase.tag);
  }
}

TEST_F(TagExtractorTest, SizeQueryGivesNPlusOneAndTheCopyEndsInAZero) {
  omaha::TagExtractor extractor;
  ASSERT_TRUE(extractor.openImage(writeImage(tagged("abc"))));
  std::int32_t count = 0;
  ASSERT_TRUE(extractor.readTag(nullptr, &count));
  EXPECT_EQ(count, 4);

  std::string buffer(8, 'X');
  count = 3;
  EXPECT_FALSE(extractor.readTag(&buffer[0], &count));
  EXPECT_EQ(buffer, "XXXXXXXX");
  count = 4;
  ASSERT_TRUE(extractor.readTag(&buffer[0], &count));
  EXPECT_EQ(buffer, std::string("abc\0XXXX", 8));
  EXPECT_EQ(count, 4);
  count = 8;
  EXPECT_TRUE(extractor.readTag(&buffer[0], &count));
  EXPECT_EQ(count, 8);

  EXPECT_FALSE(extractor.readTag(nullptr, nullptr));
  EXPECT_FALSE(extractor.readTag(&buffer[0], nullptr));
}

TEST_F(TagExtractorTest, ReadsNothingWhileClosed) {
  const std::wstring path = writeImage(tagged("abc"));
  omaha::TagExtractor extractor;
  std::int32_t count = 0;
  EXPECT_FALSE(extractor.readTag(nullptr, &count));
  ASSERT_TRUE(extractor.openImage(path));
  ASSERT_TRUE(extractor.readTag(nullptr, &count));
  extractor.closeImage();
  EXPECT_FALSE(extractor.readTag(nullptr, &count));
  extractor.closeImage();

  // A failed open leaves the extractor closed, whatever was open before.
  ASSERT_TRUE(extractor.openImage(path));
  EXPECT_FALSE(extractor.openImage(joinPath(wideFolder(), L"missing.exe")));
  EXPECT_FALSE(extractor.readTag(nullptr, &count));
  EXPECT_FALSE(extractor.openImage(writeImage("", "empty.exe")));
  EXPECT_FALSE(extractor.readTag(nullptr, &count));
}

TEST_F(TagExtractorTest, OpeningAnotherImageReplacesTheFirst) {
  omaha::TagExtractor extractor;
  ASSERT_TRUE(extractor.openImage(writeImage(tagged("first"), "first.exe")));
  ASSERT_TRUE(extractor.openImage(writeImage(tagged("second!"), "second.exe")));
  std::int32_t count = 0;
  ASSERT_TRUE(extractor.readTag(nullptr, &count));
  EXPECT_EQ(count, 8);
}

TEST_F(TagExtractorTest, CloseAndDestructionReleaseTheFile) {
  const std::wstring first = writeImage(tagged("abc"), "first.exe");
  const std::wstring second = writeImage(tagged("abc"), "second.exe");
  omaha::TagExtractor extractor;
  ASSERT_TRUE(extractor.openImage(first));
  extractor.closeImage();
  // Windows refuses to delete a file that is still open or mapped.
  EXPECT_TRUE(deleteFile(first));
  {
    omaha::TagExtractor scoped;
    ASSERT_TRUE(scoped.openImage(second));
  }
  EXPECT_TRUE(deleteFile(second));
}

} // namespace

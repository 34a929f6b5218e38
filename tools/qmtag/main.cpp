// qmtag: writes, reads and removes the download tag of a signed installer, as release engineering
// does for every campaign download. Exit codes: 0 done, 1 refused or failed, 2 unusable command
// line. A refusal leaves the output file as it was.
#include <cstdint>
#include <iostream>
#include <stdexcept>
#include <vector>

#include <nlohmann/json.hpp>

#include "omaha/TagExtractor.h"
#include "qmtag/Arguments.h"
#include "qmtag/ImageFile.h"
#include "qmtag/Options.h"
#include "qmtag/SignedImage.h"
#include "qmtag/TagError.h"
#include "qmtag/TagText.h"
#include "utils/TextConversion.h"

namespace {

using namespace qmtag;

// The tag text of `path` as the installer reads it (omaha::TagExtractor); throws TagError when
// there is none, saying why where the file's layout tells.
std::string installerTagText(const std::string& path) {
  omaha::TagExtractor extractor;
  std::int32_t count = 0;
  if (!extractor.openImage(toUtf16(path))) {
    throw TagError("cannot open " + path);
  }
  if (!extractor.readTag(nullptr, &count) || count <= 1) {
    withoutTag(readImage(path)); // throws the reason when the file is no signed installer
    throw TagError(path + " carries no download tag");
  }
  std::vector<char> buffer(static_cast<std::size_t>(count), '\0');
  if (!extractor.readTag(buffer.data(), &count)) {
    throw TagError("cannot read the download tag of " + path);
  }
  return std::string(buffer.data(), static_cast<std::size_t>(count) - 1);
}

void printTag(const std::string& path) {
  const std::string json = decodeTagText(installerTagText(path));
  if (!nlohmann::json::accept(json)) {
    throw TagError("the download tag of " + path + " is not JSON text");
  }
  std::cout << json << '\n';
}

int run(const Options& options) {
  switch (options.command) {
  case Command::Help:
    std::cout << kUsage;
    return 0;
  case Command::Get:
    printTag(options.input);
    return 0;
  case Command::Set: {
    const std::string text = encodeTagText(options.members);
    if (text.size() > kMaxTagTextSize) {
      throw TagError("the tag would have " + std::to_string(text.size()) +
                     " bytes of text; the installer reads at most " +
                     std::to_string(kMaxTagTextSize));
    }
    replaceImage(options.output, withTag(readImage(options.input), text), options.input);
    return 0;
  }
  case Command::Remove:
    replaceImage(options.output, withoutTag(readImage(options.input)), options.input);
    return 0;
  }
  return 1;
}

} // namespace

int main(int argc, char** argv) {
  try {
    return run(parseOptions(programArguments(argc, argv)));
  } catch (const UsageError& error) {
    std::cerr << "qmtag: " << error.what() << '\n' << kUsage;
    return 2;
  } catch (const TagError& error) {
    std::cerr << "qmtag: " << error.what() << '\n';
    return 1;
  } catch (const std::exception& error) {
    std::cerr << "qmtag: " << error.what() << '\n';
    return 1;
  }
}

// Writes the seed images of the tag reader's fuzz target into the folder given as the argument:
// the small PE images of the tag reader's unit tests (tests/omaha/PeFixture), with and without a
// tag, and the ways a tag can be cut off.
#include <cstdio>
#include <string>

#include "omaha/PeFixture.h"

using namespace pe_fixture;

namespace {

bool write(const std::string& folder, const char* name, const std::string& bytes) {
  std::FILE* file = std::fopen((folder + "/" + name).c_str(), "wb");
  if (!file) {
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_tag_seeds FOLDER\n", stderr);
    return 2;
  }
  const std::string folder = argv[1];
  // The hexadecimal text of {"g":"123","l":"deu_deu","c":"GA1.2.3.4","i":"inj"}.
  const std::string text = "7b2267223a22313233222c226c223a226465755f646575222c2263223a2247413"
                           "12e322e332e34222c2269223a22696e6a227d";
  std::string cutTable = signedImage(unsignedImage(), tagBytes(text));
  cutTable.resize(cutTable.size() - 40);
  const bool ok =
      write(folder, "tagged.exe", signedImage(unsignedImage(), tagBytes(text))) &&
      write(folder, "tagged-x64.exe", signedImage(unsignedImage(0x8664), tagBytes(text))) &&
      write(folder, "signed-untagged.exe", signedImage(unsignedImage())) &&
      write(folder, "unsigned.exe", unsignedImage()) &&
      write(folder, "tag-too-long.exe", signedImage(unsignedImage(), tagBytes(4000, text))) &&
      write(folder, "tag-empty.exe", signedImage(unsignedImage(), tagBytes(0, ""))) &&
      write(folder, "table-cut.exe", cutTable);
  return ok ? 0 : 1;
}

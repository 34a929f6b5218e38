#include "qmtag/ImageFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "qmtag/TagError.h"

namespace qmtag {

namespace fs = std::filesystem;

namespace {

// A name beside `path` that no file has yet.
fs::path temporaryBeside(const fs::path& path) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate =
        fs::path(path).concat(".qmtag-" + std::to_string(random() % 1000000000u) + ".tmp");
    std::error_code error;
    if (!fs::exists(candidate, error) && !error) {
      return candidate;
    }
  }
  throw TagError("no temporary file name is free beside " + path.u8string());
}

} // namespace

std::string readImage(const std::string& path) {
  std::ifstream file(fs::u8path(path), std::ios::binary);
  if (!file.is_open()) {
    throw TagError("cannot open " + path);
  }
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) {
    throw TagError("cannot read " + path);
  }
  return bytes;
}

void replaceImage(const std::string& path, const std::string& bytes, const std::string& model) {
  const fs::path target = fs::u8path(path);
  const fs::path temporary = temporaryBeside(target);
  std::error_code error;
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
      fs::remove(temporary, error);
      throw TagError("cannot write " + temporary.u8string());
    }
  }
  const fs::file_status status = fs::status(fs::u8path(model), error);
  if (!error) {
    fs::permissions(temporary, status.permissions(), error);
  }
  fs::rename(temporary, target, error);
  if (error) {
    const std::string reason = error.message();
    fs::remove(temporary, error);
    throw TagError("cannot replace " + path + ": " + reason);
  }
}

} // namespace qmtag

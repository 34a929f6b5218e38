// Reading an executable whole and writing its changed form without ever leaving a partial file.
#pragma once

#include <string>

namespace qmtag {

// The bytes of the file at the UTF-8 `path`. Throws TagError when it cannot be read.
std::string readImage(const std::string& path);

// Writes `bytes` to a new file beside the UTF-8 `path`, gives it the permissions of the file at
// `model` (where the platform has them), and renames it to `path`, replacing any file there: the
// file at `path` is either untouched or complete. Throws TagError on failure, after removing the
// new file.
void replaceImage(const std::string& path, const std::string& bytes, const std::string& model);

} // namespace qmtag

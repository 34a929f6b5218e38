// The one error qmtag reports: a refusal with a message for the release engineer.
#pragma once

#include <stdexcept>

namespace qmtag {

// Raised by every qmtag operation that refuses its input; what() is the message shown.
class TagError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

} // namespace qmtag

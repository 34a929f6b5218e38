#include "MessageKeys.h"

#include <stdexcept>

#include "utils/TextConversion.h"

void raiseError(const MessageKey& key) { throw std::runtime_error(toUtf8(key)); }

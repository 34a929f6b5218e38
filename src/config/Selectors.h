// Matching the raw installer.ini values to an update channel and an environment by their SHA-1
// digests, so that the selector words themselves appear nowhere in the program.
#pragma once

#include <cstddef>
#include <string>

#include "config/Environment.h"
#include "config/UpdateChannel.h"

// One selectable value: its enumerator and the two stored forms of its selector word's digest.
template <typename Value> struct Selector {
  Value value;
  const wchar_t* hex;    // 40 lowercase hexadecimal digits
  const wchar_t* base64; // 28 standard Base64 characters
};

// The selectors in matching order (FINAL and PRODUCTION have none: they are what nothing matches).
// Exposed so that a test can recompute every stored digest from its word.
extern const Selector<UpdateChannel> kUpdateChannelSelectors[8];
extern const Selector<Environment> kEnvironmentSelectors[3];

// The channel that the raw `value` selects: the first selector, in matching order, one of whose
// forms equals settingDigest(value) exactly; FINAL when none does. Throws std::range_error for a
// value that is no valid UTF-16.
UpdateChannel matchUpdateChannel(const std::wstring& value);
// The same for the environment; PRODUCTION when nothing matches.
Environment matchEnvironment(const std::wstring& value);

// The matching by an already computed digest text, hexadecimal or Base64 (exposed for tests).
UpdateChannel matchUpdateChannelDigest(const std::wstring& digest);
Environment matchEnvironmentDigest(const std::wstring& digest);

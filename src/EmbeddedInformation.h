// The campaign record of the download tag: the tag text decoded from hexadecimal digits into the
// JSON object whose members name the game, locale, analytics client and campaign injection.
#pragma once

#include <cstddef>
#include <string>

#include "CampaignRecord.h"

// The most tag text the installer reads, in bytes (without the terminating zero).
constexpr std::size_t kMaxEmbeddedTextBytes = 8205;

// The values of the campaign event when no usable tag was found.
inline constexpr const char* kEmbeddedInfoPlaceholder = "--none--";

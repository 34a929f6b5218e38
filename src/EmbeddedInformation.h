// The campaign record of the download tag: the tag text decoded from hexadecimal digits into the
// JSON object whose members name the game, locale, analytics client and campaign injection.
#pragma once

#include <cstddef>
#include <string>

// The most tag text the installer reads, in bytes (without the terminating zero).
constexpr std::size_t kMaxEmbeddedTextBytes = 8205;

// The values of the campaign event when no usable tag was found.
inline constexpr const char* kEmbeddedInfoPlaceholder = "--none--";

// The bytes that `text` spells as hexadecimal digits, two per byte, high digit first; "0"-"9",
// "a"-"f" and "A"-"F" count. A last unpaired digit is ignored. Empty for the empty text and for
// a text holding any character that is no hexadecimal digit (the tag is then undecodable).
std::string hexDecode(const std::string& text);

// The check that the client setup program is the maker's before it is run: its signature in the
// platform's format, verified against the code-signing CA pinned in the build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The PEM text of the code-signing CA the build pins (a CMake input, QM_CODESIGN_CA_PEM).
const std::string& pinnedCodeSigningCa();

// Verifies the `size` bytes of a setup program at `data` against `trustedCaPem`: on Windows its
// Authenticode signature, on POSIX the detached signature appended to it (SignedImageLayout.h).
// Returns the empty string when it passes, else the reason in a few words.
std::string verifySetupProgram(const std::uint8_t* data, std::size_t size,
                               const std::string& trustedCaPem);

// The same against the pinned CA.
std::string verifySetupProgram(const std::uint8_t* data, std::size_t size);

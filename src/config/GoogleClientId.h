// The analytics (Google) client identifier of the download's campaign, handed to the client.
#pragma once

#include <string>

// Writes the UTF-8 `id` as "GoogleClientId" under HKEY_CURRENT_USER, main key. Callers pass only a
// non-empty identifier, so an earlier value is never cleared. A text that is no valid UTF-8 is not
// written; write failures are ignored.
void storeGoogleClientId(const std::string& id);

// The texts of the terminal display that stands in for the progress window on POSIX.
#pragma once

#include <string>

// `text` with each link written out for a terminal: <a href="ADDRESS">LABEL</a> becomes
// "LABEL (ADDRESS)". Markup that is not such a complete link is left as it stands.
std::wstring spellOutLinks(const std::wstring& text);

// The status line of a terminal: the status, then a bar of 20 cells and the bar position
// (0..100), for example "Checking for updates.  [##########----------]  50%".
std::string statusLine(const std::wstring& status, int position);

// The line that reports progress on a stream that is no terminal: "Progress: 50%".
std::string progressLine(int position);

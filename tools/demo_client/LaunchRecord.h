// What the demo client remembers of its starts: one line per start in "qmclient-launches.txt"
// beside the program, so tests and the demo can tell with which URL the shell opened it.
#pragma once

#include <string>

// Appends `url` (the first argument, or the empty text) as a UTF-8 line to the launch record.
void recordLaunch(const std::wstring& url);

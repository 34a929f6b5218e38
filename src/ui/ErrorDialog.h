// The modal error notice for the one failure that comes before the progress window exists.
#pragma once

#include <string>

// Shows `content` under `heading` in a modal notice titled `title` and returns when the user has
// dismissed it. Failures to show it are not reported.
void showErrorDialog(const std::wstring& content, const std::wstring& heading,
                     const std::wstring& title);

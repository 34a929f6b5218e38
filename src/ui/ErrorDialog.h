// The modal error notice for the one failure that comes before the progress window exists.
#pragma once

#include <string>

// Whether the system's Common Controls library offers the task dialog (Windows: "COMCTL32.dll"
// exports ordinal 345, TaskDialogIndirect). Always false where there is no such library.
bool isTaskDialogAvailable();

// Shows `content` under `heading` in a modal notice titled `title` and returns when the user has
// dismissed it. Without the task dialog, Windows shows a message box with `content` only, captioned
// "Error". Failures to show it are not reported.
void showErrorDialog(const std::wstring& content, const std::wstring& heading,
                     const std::wstring& title);

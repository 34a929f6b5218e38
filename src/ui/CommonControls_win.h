// The Common Controls library (version 6, which the program's manifest selects), reached only at
// run time: the program does not import it, so every use goes through this one lookup.
#pragma once

#include <windows.h>
#include <commctrl.h>

using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG* config, int* button,
                                                    int* radioButton, BOOL* verificationChecked);
using SetWindowSubclassFunction = BOOL(WINAPI*)(HWND window, SUBCLASSPROC procedure,
                                                UINT_PTR subclassId, DWORD_PTR referenceData);
using DefSubclassProcFunction = LRESULT(WINAPI*)(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam);

// An entry point of "COMCTL32.dll", by name or by ordinal (MAKEINTRESOURCEA); null when the
// library or the entry is missing. The library is loaded on the first call and never freed. Safe
// from any thread.
FARPROC commonControlsEntry(const char* nameOrOrdinal);

// TaskDialogIndirect (export ordinal 345); null where the library has no task dialog.
TaskDialogIndirectFunction taskDialogIndirectEntry();
// SetWindowSubclass and DefSubclassProc; null when missing.
SetWindowSubclassFunction setWindowSubclassEntry();
DefSubclassProcFunction defSubclassProcEntry();

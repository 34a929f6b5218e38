#include "ui/CommonControls_win.h"

namespace {

// The ordinal by which the library exports TaskDialogIndirect.
constexpr WORD kTaskDialogIndirectOrdinal = 345;

HMODULE commonControlsLibrary() {
  // Loaded once for the process (the activation context of the manifest picks version 6) and
  // deliberately kept: its windows and subclass procedures may outlive any caller.
  static const HMODULE library = ::LoadLibraryW(L"COMCTL32.dll");
  return library;
}

// The entry `nameOrOrdinal` as a function pointer of type Function.
template <typename Function> Function entryAs(const char* nameOrOrdinal) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(commonControlsEntry(nameOrOrdinal)));
}

} // namespace

FARPROC commonControlsEntry(const char* nameOrOrdinal) {
  const HMODULE library = commonControlsLibrary();
  return library ? ::GetProcAddress(library, nameOrOrdinal) : nullptr;
}

TaskDialogIndirectFunction taskDialogIndirectEntry() {
  return entryAs<TaskDialogIndirectFunction>(MAKEINTRESOURCEA(kTaskDialogIndirectOrdinal));
}

SetWindowSubclassFunction setWindowSubclassEntry() {
  return entryAs<SetWindowSubclassFunction>("SetWindowSubclass");
}

DefSubclassProcFunction defSubclassProcEntry() {
  return entryAs<DefSubclassProcFunction>("DefSubclassProc");
}

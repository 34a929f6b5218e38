// Where the program's DLLs may come from.
#pragma once

// Restricts the search for every DLL loaded from now on (delay-loaded ones included) to System32,
// so that a DLL dropped beside the program (in a Downloads folder, say) is never loaded in place
// of a system DLL. SetDefaultDllDirectories is looked up at run time: Windows 7 without
// KB2533623 lacks it, and then only the current directory is taken out of the search
// (SetDllDirectoryW with an empty text). Called first thing in WinMain.
void restrictDllSearchToSystem32();

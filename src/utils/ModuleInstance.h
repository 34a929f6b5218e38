// The program's module instance handle as the entry point receives it (an HINSTANCE on Windows,
// null on POSIX), passed on to the code that loads resources or creates windows.
#pragma once

using ModuleInstance = void*;

// Loads each DLL named on its command line by the default search, as a program that does not
// restrict it would: the planted-DLL test's proof that a DLL beside a program gets loaded.
// Exit code: the number of names that could not be loaded.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  int failed = 0;
  for (int i = 1; i < argc; ++i) {
    failed += ::LoadLibraryW(argv[i]) == nullptr ? 1 : 0;
  }
  return failed;
}

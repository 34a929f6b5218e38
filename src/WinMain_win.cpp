// The Windows entry point: one InstallerApp, one run, exit code 0 whatever happened.
#include <windows.h>

#include "InstallerApp.h"
#include "utils/DllSearch_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL that is not imported statically.
  restrictDllSearchToSystem32();
  {
    InstallerApp app;
    app.run(instance);
  }
  return 0;
}

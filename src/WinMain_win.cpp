// The Windows entry point: one InstallerApp, one run, exit code 0 whatever happened.
#include <windows.h>

#include "InstallerApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  {
    InstallerApp app;
    app.run(instance);
  }
  return 0;
}

// The POSIX entry point, standing in for WinMain: one InstallerApp, one run, exit code 0.
#include "InstallerApp.h"

int main() {
  {
    InstallerApp app;
    app.run(nullptr);
  }
  return 0;
}

// The whole installer with the download engine's smaller test limits, for the download fault
// matrix: this definition takes the place of the installer's own (src/utils/
// InstallerDownloadLimits.cpp), which the linker then leaves out of the static library.
// Everything else is the shipped program: the same entry point, steps and engine.
#include "utils/DownloadUtils.h"

DownloadLimits installerDownloadLimits() {
  DownloadLimits limits;
  limits.curlAttempts = 2;
  limits.systemAttempts = 2;
  // A transfer below 30 bytes per second is abandoned after 2 s instead of 60 s.
  limits.lowSpeedTime = 2;
  return limits;
}

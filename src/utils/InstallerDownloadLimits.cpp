// The installer's download limits, in a file of their own: only installerDownloadLimits lives
// here, so a test program that defines it itself never links this definition.
#include "utils/DownloadUtils.h"

DownloadLimits installerDownloadLimits() { return DownloadLimits{}; }

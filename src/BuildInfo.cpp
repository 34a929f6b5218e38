#include "BuildInfo.h"

namespace BuildInfo {
const char* const label = QM_BUILD_LABEL;
const char* const branch = QM_BUILD_BRANCH;
const char* const commit_id = QM_BUILD_COMMIT_ID;
const char* const version = QM_BUILD_VERSION;
} // namespace BuildInfo

// The constants that identify this build, set by the build (CMake cache variables QM_BUILD_*).
#pragma once

namespace BuildInfo {
// The version label: after "Version: " in the log and at the end of the user agent; may be empty.
extern const char* const label;
extern const char* const branch;
extern const char* const commit_id;
extern const char* const version;
} // namespace BuildInfo

// The back-end hosts this build talks to and the support page it links to, fixed when the program
// is built (CMake cache variables QM_EVENTS_HOST_*, QM_UPDATE_HOST_INTEGRATION, QM_DOWNLOAD_HOST,
// QM_SUPPORT_URL). A host is a bare name or "name:port"; the paths and ports that the endpoints add
// to it are fixed in Environment.cpp and UpdateChannel.cpp.
#pragma once

namespace BackendHosts {
// Events hosts of the four environments; the three non-production ones are reached on port 8443.
extern const char* const eventsDev;
extern const char* const eventsIntegration;
extern const char* const eventsSandbox;
extern const char* const eventsProduction;
// The internal update host of the channels TEAM to DAILYBUILD.
extern const char* const updateIntegration;
// The public download host of the channels QA1 to FINAL.
extern const char* const download;
// The maker's support page (an https address), the target of the validation error's link.
extern const char* const supportUrl;
} // namespace BackendHosts

#include "config/BackendHosts.h"

namespace BackendHosts {
const char* const eventsDev = QM_EVENTS_HOST_DEV;
const char* const eventsIntegration = QM_EVENTS_HOST_INTEGRATION;
const char* const eventsSandbox = QM_EVENTS_HOST_SANDBOX;
const char* const eventsProduction = QM_EVENTS_HOST_PRODUCTION;
const char* const updateIntegration = QM_UPDATE_HOST_INTEGRATION;
const char* const download = QM_DOWNLOAD_HOST;
const char* const supportUrl = QM_SUPPORT_URL;
} // namespace BackendHosts

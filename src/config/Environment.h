// The back-end environments: which events server receives the installer's telemetry.
#pragma once

#include <cstdint>
#include <string>

enum class Environment : std::uint32_t {
  DEV = 0,
  INTEGRATION = 1,
  SANDBOX = 2,
  PRODUCTION = 3,
};

// "DEV", "INTEGRATION", "SANDBOX", "PRODUCTION"; "Unknown" for any value outside 0..3.
std::string environmentName(Environment environment);

// The URL that every event of `environment` is posted to: "https://" + the environment's events
// host, with ":8443" for the three non-production servers; no path, no trailing slash. Any value
// outside 0..2 gives the production endpoint.
std::wstring eventsEndpoint(Environment environment);

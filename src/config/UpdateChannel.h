// The update channels: where the client version document and the client setup are fetched from.
#pragma once

#include <cstdint>
#include <string>

enum class UpdateChannel : std::uint32_t {
  TEAM = 0,
  TEAM1 = 1,
  TEAM2 = 2,
  EXPERIMENTAL = 3,
  DAILYBUILD = 4,
  QA1 = 5,
  QA2 = 6,
  BETA = 7,
  FINAL = 8,
};

// The enumerator's name ("TEAM" ... "FINAL"), as telemetry and the log report it; "Unknown" for
// any value above 8.
std::string updateChannelName(UpdateChannel channel);

// The channel's base URL: "http://" + host + path, no port of its own, no trailing slash. TEAM to
// DAILYBUILD live on the internal integration update host, QA1 to FINAL on the public download
// host. Any value above 7 gives the FINAL base URL.
std::wstring updateChannelBaseUrl(UpdateChannel channel);

#include "config/UpdateChannel.h"

#include "config/BackendHosts.h"
#include "utils/TextConversion.h"

namespace {

struct ChannelEntry {
  const char* name;
  bool internal; // on the integration update host, else on the public download host
  const wchar_t* path;
};

// Indexed by the enumerator's value.
const ChannelEntry kChannels[] = {
    {"TEAM", true, L"/team-ms3"},
    {"TEAM1", true, L"/team1-ms3"},
    {"TEAM2", true, L"/team2-ms3"},
    {"EXPERIMENTAL", true, L"/experimental-ms3"},
    {"DAILYBUILD", true, L"/dailybuild-ms3"},
    {"QA1", false, L"/zell/qa1-ms3"},
    {"QA2", false, L"/zell/qa2-ms3"},
    {"BETA", false, L"/zell/beta-ms3"},
    {"FINAL", false, L"/zell/final-ms3"},
};
constexpr std::uint32_t kChannelCount = sizeof(kChannels) / sizeof(kChannels[0]);

} // namespace

std::string updateChannelName(UpdateChannel channel) {
  const auto value = static_cast<std::uint32_t>(channel);
  return value < kChannelCount ? kChannels[value].name : "Unknown";
}

std::wstring updateChannelBaseUrl(UpdateChannel channel) {
  auto value = static_cast<std::uint32_t>(channel);
  if (value >= kChannelCount) {
    value = static_cast<std::uint32_t>(UpdateChannel::FINAL);
  }
  const ChannelEntry& entry = kChannels[value];
  const char* const host =
      entry.internal ? BackendHosts::updateIntegration : BackendHosts::download;
  return L"http://" + toUtf16(host) + entry.path;
}

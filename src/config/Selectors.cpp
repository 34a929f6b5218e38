#include "config/Selectors.h"

#include "config/SettingDigest.h"

// The selector words are listed for the maker's testers in docs/installer-ini.md; only their
// digests are kept here.
const Selector<UpdateChannel> kUpdateChannelSelectors[8] = {
    {UpdateChannel::TEAM, L"6ec118716b330a9be6dec41bc8054a2e62a2a0d8",
     L"bsEYcWszCpvm3sQbyAVKLmKioNg="},
    {UpdateChannel::TEAM1, L"cdc3b6a19e6cda4ca30fb1a810048b529379800d",
     L"zcO2oZ5s2kyjD7GoEASLUpN5gA0="},
    {UpdateChannel::TEAM2, L"f8e0742decf45cc7d1da45ee7e482baccff5907e",
     L"+OB0Lez0XMfR2kXufkgrrM/1kH4="},
    {UpdateChannel::EXPERIMENTAL, L"9006b4f2bc4e2a56f3409e1c11e2ce4c326695ba",
     L"kAa08rxOKlbzQJ4cEeLOTDJmlbo="},
    {UpdateChannel::QA1, L"581ff4b6b5e632268ef5c8ff6c937fdd63464318",
     L"WB/0trXmMiaO9cj/bJN/3WNGQxg="},
    {UpdateChannel::QA2, L"d98941472bb14d1d4f686da6ffb28d8fe3931d50",
     L"2YlBRyuxTR1PaG2m/7KNj+OTHVA="},
    {UpdateChannel::BETA, L"ec989324495371c94cf0b6c3a90772c2fc0c3937",
     L"7JiTJElTcclM8LbDqQdywvwMOTc="},
    // Tested last although its value is 4.
    {UpdateChannel::DAILYBUILD, L"74e5fae317bfcac3cd1fd96e058a52caff1b2ee8",
     L"dOX64xe/ysPNH9luBYpSyv8bLug="},
};

const Selector<Environment> kEnvironmentSelectors[3] = {
    {Environment::DEV, L"6d3d5646d9b2bf39c0b00fd7e54baa7943d40ecf",
     L"bT1WRtmyvznAsA/X5UuqeUPUDs8="},
    {Environment::INTEGRATION, L"537d456e556d4b816224a430d5614fdb22ddbff3",
     L"U31FblVtS4FiJKQw1WFP2yLdv/M="},
    {Environment::SANDBOX, L"c1c53c701d1964b7293f0aaf243e0579f03b3d9f",
     L"wcU8cB0ZZLcpPwqvJD4FefA7PZ8="},
};

namespace {

// The first selector with a form equal to `digest` (hexadecimal compared first), else `fallback`.
template <typename Value, std::size_t Count>
Value firstMatch(const Selector<Value> (&selectors)[Count], const std::wstring& digest,
                 Value fallback) {
  for (const Selector<Value>& selector : selectors) {
    if (digest == selector.hex || digest == selector.base64) {
      return selector.value;
    }
  }
  return fallback;
}

} // namespace

UpdateChannel matchUpdateChannelDigest(const std::wstring& digest) {
  return firstMatch(kUpdateChannelSelectors, digest, UpdateChannel::FINAL);
}

Environment matchEnvironmentDigest(const std::wstring& digest) {
  return firstMatch(kEnvironmentSelectors, digest, Environment::PRODUCTION);
}

UpdateChannel matchUpdateChannel(const std::wstring& value) {
  return matchUpdateChannelDigest(settingDigest(value));
}

Environment matchEnvironment(const std::wstring& value) {
  return matchEnvironmentDigest(settingDigest(value));
}

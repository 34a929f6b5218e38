// The records that a download hands to its caller and to telemetry.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Receives download progress: bytes done, then bytes total (0 when the total is not known yet).
// May be empty; an empty callback is never called.
using ProgressCallback = std::function<void(std::uint32_t done, std::uint32_t total)>;

// What one completed libcurl transfer reports from its response.
struct DownloadMetrics {
  std::string x_cache;             // third word of the "x-cache" header; empty when absent
  std::string x_cache_type;        // first word of the "x-cache" header
  std::string x_cache_remote;      // third word of the "x-cache-remote" header
  std::string x_cache_remote_type; // first word of the "x-cache-remote" header
  std::int64_t response_code = 0;  // HTTP status; 0 when none was reported
};

// What a download returns.
struct DownloadResult {
  std::int32_t curl_result = 0;    // libcurl code of the last libcurl attempt (0: delivered)
  std::int32_t windows_result = 0; // HRESULT of the system fallback (0: not needed or delivered)
  std::wstring download_method = L"curl"; // "curl" or "windows": who delivered the file
};

// One download by the platform's own downloader, the fallback when libcurl gives up.
#pragma once

#include <cstdint>
#include <string>

#include "utils/DownloadTypes.h"

// HRESULTs of the system downloader that the engine tells apart.
constexpr std::int32_t kResourceNotFound =
    static_cast<std::int32_t>(0x800C0005); // INET_E_RESOURCE_NOT_FOUND
constexpr std::int32_t kObjectNotFound =
    static_cast<std::int32_t>(0x800C0006); // INET_E_OBJECT_NOT_FOUND
constexpr std::int32_t kDownloadFailure =
    static_cast<std::int32_t>(0x800C0008); // INET_E_DOWNLOAD_FAILURE

// Fetches `url` into the file `targetPath` with the system downloader and returns its result: 0
// when the file was written completely, otherwise the downloader's error or kDownloadFailure (a
// success that did not report every expected byte). `progress` receives the downloader's
// progress reports, unthrottled. Never throws.
std::int32_t systemAttempt(const std::wstring& url, const std::wstring& targetPath,
                           ProgressCallback progress);

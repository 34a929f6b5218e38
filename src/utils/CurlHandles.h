// Owners for libcurl's handles and the C runtime's files (see UniqueHandle.h).
#pragma once

#include <cstdio>

#include <curl/curl.h>

#include "utils/UniqueHandle.h"

namespace handles_detail {
inline void cleanupEasy(CURL* handle) noexcept { curl_easy_cleanup(handle); }
inline void freeList(curl_slist* list) noexcept { curl_slist_free_all(list); }
inline void closeFile(std::FILE* file) noexcept { std::fclose(file); }
} // namespace handles_detail

using UniqueCurl = UniqueHandle<CURL*, handles_detail::cleanupEasy, 0>;
using UniqueCurlList = UniqueHandle<curl_slist*, handles_detail::freeList, 0>;
using UniqueFile = UniqueHandle<std::FILE*, handles_detail::closeFile, 0>;

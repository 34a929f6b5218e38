#include "LaunchRecord.h"

#include <filesystem>
#include <fstream>

#include "utils/Paths.h"
#include "utils/TextConversion.h"

void recordLaunch(const std::wstring& url) {
  const std::wstring record = joinPath(moduleDirectory(), L"qmclient-launches.txt");
  std::ofstream out(std::filesystem::u8path(toUtf8Lenient(record)),
                    std::ios::app | std::ios::binary);
  out << toUtf8Lenient(url) << "\n";
}

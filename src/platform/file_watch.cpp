#include "platform/file_watch.h"

#include <chrono>
#include <cstdio>

long long FileClockNowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

bool HashFile(const std::string& path, std::uint64_t& hash) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::uint64_t h = 1469598103934665603ULL;
  unsigned char buf[64 * 1024];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
    for (std::size_t i = 0; i < n; ++i) h = (h ^ buf[i]) * 1099511628211ULL;
  const bool ok = !std::ferror(f);
  std::fclose(f);
  hash = h;
  return ok;
}

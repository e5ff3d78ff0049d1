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

std::set<std::string> ContentWatch::Track(const std::vector<std::string>& paths) {
  std::map<std::string, FileState> files;
  std::set<std::string> folders;
  for (const std::string& p : paths) {
    folders.insert(FolderOf(p));
    auto old = m_files.find(p);
    if (old != m_files.end()) {
      files.emplace(p, old->second);
      continue;
    }
    FileState s = Status(p);
    if (s.exists && !HashFile(p, s.hash)) s.exists = false;
    NoteReadAt(s, FileClockNowNs());
    files.emplace(p, s);
  }
  m_files.swap(files);
  m_order = paths;
  m_dirty.clear();
  return folders;
}

void ContentWatch::MarkFolderChanged(const std::string& folder) {
  for (const auto& f : m_files)
    if (FolderOf(f.first) == folder) m_dirty.insert(f.first);
}

void ContentWatch::MarkAllChanged() {
  for (const auto& f : m_files) m_dirty.insert(f.first);
}

std::vector<std::string> ContentWatch::TakeChanged(const std::function<bool(const std::string&)>& busy) {
  std::vector<std::string> changed;
  for (const std::string& p : m_order) {
    if (!m_dirty.count(p)) continue;
    if (busy && busy(p)) continue;
    m_dirty.erase(p);
    auto it = m_files.find(p);
    if (it != m_files.end() && ContentChanged(it->second, Status(p), [&](std::uint64_t& h) { return HashFile(p, h); }))
      changed.push_back(p);
  }
  return changed;
}

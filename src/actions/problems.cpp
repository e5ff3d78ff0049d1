#include "actions/problems.h"

#include "platform/files.h"

namespace {

// A transcript past this size is read no further: a run gone astray.
constexpr std::size_t kMaxTranscript = 64u * 1024 * 1024;

const struct {
  const char* ext;
  texlog::Report (*read)(std::string_view, const texlog::Options&);
} kTranscripts[] = {
    {".log", texlog::ReadTeXLog},
    {".blg", texlog::ReadBibTeXLog},
    {".ilg", texlog::ReadIndexLog},
};

}  // namespace

std::optional<std::int64_t> ProblemList::TimeOf(const std::string& path) {
  const FileStatus st = m_env.platform.Stat(path);
  if (!st.exists) return std::nullopt;
  return st.mtimeNs;
}

void ProblemList::Begin(const Document& doc) {
  m_file = doc.File();
  m_before.clear();
  for (const auto& t : kTranscripts) m_before.push_back(TimeOf(doc.Dir() + doc.Name() + t.ext));
}

bool ProblemList::End(const Document& doc) {
  // An action that chose another document ran no tool on either.
  if (doc.Name().empty() || doc.File() != m_file || m_before.size() != std::size(kTranscripts)) return false;
  texlog::Options options;
  options.docDir = doc.Dir();
  options.windowsPaths = m_env.platform.Values().pathStyle == mbcs::PathStyle::Windows;
  options.exists = [this, &doc](const std::string& name) { return m_env.platform.Stat(doc.Dir() + name).exists; };

  bool wrote = false;
  std::vector<texlog::Entry> entries;
  std::vector<std::string> read;
  for (std::size_t i = 0; i < std::size(kTranscripts); ++i) {
    const std::string path = doc.Dir() + doc.Name() + kTranscripts[i].ext;
    const std::optional<std::int64_t> now = TimeOf(path);
    // Only what this action's runs wrote: an old BibTeX log says nothing
    // about the document as it is now.
    if (!now || (m_before[i] && *m_before[i] == *now)) continue;
    std::string text;
    if (files::ReadRegularFile(path, kMaxTranscript, text) != files::ReadStatus::Ok) continue;
    wrote = true;
    texlog::Report report = kTranscripts[i].read(text, options);
    entries.insert(entries.end(), report.entries.begin(), report.entries.end());
    if (i == 0) read = std::move(report.files);
  }
  if (!wrote) return false;
  // What the logs cannot place (a label defined twice, an index entry
  // refused) is looked for in the sources the compile read.
  texlog::PlaceInSources(entries, read, options, [&doc](const std::string& file, std::string& bytes) {
    return files::ReadRegularFile(doc.Dir() + file, kMaxTranscript, bytes) == files::ReadStatus::Ok;
  });
  m_dir = doc.Dir();
  m_entries = texlog::ErrorsFirst(std::move(entries));
  ++m_generation;
  if (!read.empty() || m_sources.empty()) {
    m_sources.assign(1, doc.File());
    for (const std::string& file : read) {
      const std::string path = InDir(doc.Dir(), file);
      if (path != doc.File()) m_sources.push_back(path);
    }
  }
  return true;
}

bool ProblemList::HasErrors() const {
  for (const texlog::Entry& e : m_entries)
    if (e.kind == texlog::Kind::Error) return true;
  return false;
}

std::string ProblemList::PathOf(const texlog::Entry& entry) const {
  if (entry.file.empty()) return std::string();
  // A file the transcript named outside the document's tree keeps its own path.
  const bool absolute = entry.file[0] == '/' || entry.file[0] == '\\' || (entry.file.size() > 1 && entry.file[1] == ':');
  return absolute ? entry.file : InDir(m_dir, entry.file);
}

std::string ProblemList::InDir(const std::string& dir, const std::string& relative) const {
  // The transcripts separate folders by '/' on every system; the path an
  // editor is given is the system's own. A '/' is never part of a
  // double-byte character.
  std::string path = dir + relative;
  if (m_env.platform.Values().pathStyle == mbcs::PathStyle::Windows) {
    for (std::size_t i = dir.size(); i < path.size(); ++i)
      if (path[i] == '/') path[i] = '\\';
  }
  return path;
}

std::string ProblemList::LineOf(const texlog::Entry& entry) {
  std::string line;
  if (!entry.file.empty()) {
    line = entry.file;
    if (entry.line > 0) line += ":" + std::to_string(entry.line);
    line += ": ";
  }
  return line + entry.message;
}

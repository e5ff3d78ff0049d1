// What an action's tools reported wrong, and where: the transcripts they
// wrote during the action (the TeX log, the BibTeX and index programs'
// logs) read into one list, errors first, each entry with its file
// (relative to the document's folder) and line. Also the files the last
// compile read from the document's folder tree, which a save can change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "actions/tex_log.h"
#include "document/document.h"
#include "platform/env.h"

class ProblemList {
 public:
  explicit ProblemList(MirvanEnv env) : m_env(env) {}

  // Before an action: which transcripts the document has, and how new.
  void Begin(const Document& doc);
  // After it: when it wrote a transcript, the list is made anew from the
  // transcripts as the action left them. true when it was.
  bool End(const Document& doc);

  const std::vector<texlog::Entry>& Entries() const { return m_entries; }
  // Counts the lists made: a new one each time End read a transcript.
  std::size_t Generation() const { return m_generation; }
  bool HasErrors() const;
  // The entry's file as a full path (its folder the document's).
  std::string PathOf(const texlog::Entry& entry) const;
  // The document and the files its last compile read from its folder tree,
  // full paths; empty before any compile.
  const std::vector<std::string>& Sources() const { return m_sources; }

  // One line of the list as the bars show it: "chap/two.tex:7: message".
  static std::string LineOf(const texlog::Entry& entry);

 private:
  std::optional<std::int64_t> TimeOf(const std::string& path);
  // A name relative to `dir` (the document's folder) as a full path.
  std::string InDir(const std::string& dir, const std::string& relative) const;

  MirvanEnv m_env;
  std::string m_file;  // the document Begin looked at
  std::string m_dir;
  std::vector<std::optional<std::int64_t>> m_before;
  std::vector<texlog::Entry> m_entries;
  std::vector<std::string> m_sources;
  std::size_t m_generation = 0;
};

// The settings store as the bar uses it: every call goes through to the
// file's own store, and the first write of a run that fails is told to the
// user, once, so that choices are never lost without a word (a read-only
// Mirvan.ini, a start folder whose path is too long, a full disk).
#pragma once

#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/prompts.h"

class ReportingProfile : public IProfile {
 public:
  // `path`: the settings file, named in the message; empty when the start
  // folder could not be read.
  ReportingProfile(IProfile& store, IPrompts& prompts, std::string path)
      : m_store(store), m_prompts(prompts), m_path(std::move(path)) {}

  // The user has been told already that the file cannot be used at all
  // (it cannot be read): its failed writes need no word of their own.
  void AlreadyTold() { m_told = true; }

  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& def) override {
    return m_store.GetProfileString(section, key, def);
  }
  int GetProfileInt(const std::string& section, const std::string& key, int def) override {
    return m_store.GetProfileInt(section, key, def);
  }
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const std::string* value) override {
    return Told(m_store.WriteProfileString(section, key, value));
  }
  bool WriteProfileInt(const std::string& section, const std::string& key, int value) override {
    return Told(m_store.WriteProfileInt(section, key, value));
  }
  bool WriteProfileKeys(const std::string& section, const std::vector<ProfileEntry>& entries) override {
    return Told(m_store.WriteProfileKeys(section, entries));
  }
  using IProfile::WriteProfileString;

 private:
  bool Told(bool written);

  IProfile& m_store;
  IPrompts& m_prompts;
  std::string m_path;
  bool m_told = false;
};

#include "config/reporting_profile.h"

#include "config/texts.h"

bool ReportingProfile::Told(bool written) {
  if (written || m_told) return written;
  // Said once: every later change fails the same way, and a box per change
  // would stand in the way of the work.
  m_told = true;
  std::string text = m_path.empty() ? settings_text::kSettingsNowhere : settings_text::kSettingsNotSaved;
  const std::size_t at = text.find("%1");
  if (at != std::string::npos) text.replace(at, 2, m_path);
  m_prompts.MessageBox(std::string(), text, BoxIcon::Exclamation);
  return written;
}

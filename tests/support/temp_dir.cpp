#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "mirvan-test-XXXXXX").string();
#ifdef _WIN32
  static int counter = 0;
  m_path = tmpl.substr(0, tmpl.size() - 6) + std::to_string(std::rand()) + "-" + std::to_string(++counter);
  std::filesystem::create_directories(m_path);
  m_path += "/";
#else
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  m_path = tmpl + "/";
#endif
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

void TempDir::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream f(File(name), std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::Read(const std::string& name) const {
  std::ifstream f(File(name), std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

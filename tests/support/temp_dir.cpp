#include "support/temp_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace prvdrinfo::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "prvdrinfo-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed for " + pattern);
  path_ = std::string(buffer.data()) + "/";
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace prvdrinfo::test

#pragma once

#include <string>

namespace prvdrinfo::test {

// A fresh, private folder under the system's temporary folder, removed with everything in
// it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, ending with "/".
  const std::string& Path() const { return path_; }
  // The folder joined with a file name.
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

}  // namespace prvdrinfo::test

// The umbrella header is the library's interface definition: it must compile on its own
// and name every public header, so a host that includes it sees the whole API.
#include "prvdrinfo/prvdrinfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

TEST(UmbrellaHeader, IncludesEveryPublicHeader) {
  const auto root = std::filesystem::path(PRVDRINFO_SOURCE_DIR) / "include";
  std::ifstream in(root / "prvdrinfo" / "prvdrinfo.h");
  std::stringstream umbrella;
  umbrella << in.rdbuf();
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root / "prvdrinfo")) {
    if (!entry.is_regular_file() || entry.path().extension() != ".h") continue;
    const auto relative = std::filesystem::relative(entry.path(), root).generic_string();
    if (relative == "prvdrinfo/prvdrinfo.h") continue;
    EXPECT_NE(umbrella.str().find("#include \"" + relative + "\""), std::string::npos)
        << relative << " is missing from prvdrinfo/prvdrinfo.h";
  }
}

}  // namespace

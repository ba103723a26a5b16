#include "prvdrinfo/foundation/error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <regex>
#include <stdexcept>

namespace prvdrinfo {
namespace {

constexpr ErrorSite kInner{"TSTA1B2C3D4E5F6G7H8J9K0LM", "Test.Inner"};
constexpr ErrorSite kMiddle{"TSTN1P2Q3R4S5T6U7V8W9X0YZ", "Test.Middle"};
constexpr ErrorSite kOuter{"TSTZ9Y8X7W6V5U4T3S2R1Q0PN", "Test.Outer"};

void Inner() {
  kInner.Guard([] { kInner.Raise(err::kObjectErrorBase + 4, "Deep failure.", 12); });
}
void Middle() {
  kMiddle.Guard([] { Inner(); }, [] { return std::string("Passed GUID: {G}"); });
}
void Outer() {
  kOuter.Guard([] { Middle(); });
}

TEST(ErrorChannel, ThreeCallsDeepKeepsTheFirstNumberAndDescription) {
  try {
    Outer();
    FAIL() << "no error";
  } catch (const CError& e) {
    EXPECT_EQ(e.Number(), err::kObjectErrorBase + 4);
    EXPECT_EQ(e.Description(), "Deep failure.");
    EXPECT_STREQ(e.what(), "Deep failure.");
    EXPECT_EQ(e.Source(), "Test.Inner");
    EXPECT_EQ(e.Line(), 12);
    EXPECT_EQ(e.Context(), "Passed GUID: {G}");
    ASSERT_EQ(e.Locations().size(), 3u);
    EXPECT_EQ(e.Locations()[0].id, "TSTA1B2C3D4E5F6G7H8J9K0LM");
    EXPECT_EQ(e.Locations()[1].id, "TSTN1P2Q3R4S5T6U7V8W9X0YZ");
    EXPECT_EQ(e.Locations()[2].id, "TSTZ9Y8X7W6V5U4T3S2R1Q0PN");
    EXPECT_NE(e.Report().find("TSTN1P2Q3R4S5T6U7V8W9X0YZ"), std::string::npos);
  }
}

TEST(ErrorChannel, ForeignExceptionsBecomeErrorsAtTheNearestSite) {
  struct Case {
    std::function<void()> body;
    int32_t number;
    std::string description;
  } cases[] = {
      {[] { throw std::bad_alloc(); }, err::kOutOfMemory, "Out of memory"},
      {[] { throw std::runtime_error("disk on fire"); }, err::kUnspecified, "disk on fire"},
      {[] { throw 42; }, err::kUnspecified, "Unspecified error"},
  };
  for (const auto& c : cases) {
    try {
      kOuter.Guard([&] { kMiddle.Guard(c.body); });
      ADD_FAILURE() << "no error";
    } catch (const CError& e) {
      EXPECT_EQ(e.Number(), c.number);
      EXPECT_EQ(e.Description(), c.description);
      EXPECT_EQ(e.Source(), "Test.Middle");
      ASSERT_EQ(e.Locations().size(), 2u);
      EXPECT_EQ(e.Locations()[0].id, "TSTN1P2Q3R4S5T6U7V8W9X0YZ");
    }
  }
}

TEST(ErrorChannel, EmptyDescriptionTakesTheStandardText) {
  const std::map<int32_t, std::string> standard = {
      {5, "Invalid procedure call or argument"},
      {6, "Overflow"},
      {9, "Subscript out of range"},
      {13, "Type mismatch"},
      {457, "This key is already associated with an element of this collection"},
  };
  for (const auto& [number, text] : standard) {
    try {
      kInner.Raise(number);
    } catch (const CError& e) {
      EXPECT_EQ(e.Description(), text);
    }
  }
}

TEST(ErrorChannel, GuardPassesResultsThrough) {
  EXPECT_EQ(kOuter.Guard([] { return 7; }), 7);
  std::string text = "x";
  std::string& ref = kOuter.Guard([&]() -> std::string& { return text; });
  EXPECT_EQ(&ref, &text);
}

// Every error site names its own location id: two sites sharing one would make reports
// point at the wrong place.
TEST(ErrorChannel, NoTwoSitesShareALocationId) {
  const std::regex literal("\"([A-Z0-9]{25})\"");
  std::map<std::string, std::string> seen;
  std::vector<std::string> duplicates;
  for (const char* folder : {"src", "include", "tools"}) {
    const auto root = std::filesystem::path(PRVDRINFO_SOURCE_DIR) / folder;
    if (!std::filesystem::exists(root)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file()) continue;
      const auto extension = entry.path().extension();
      if (extension != ".cpp" && extension != ".h") continue;
      std::ifstream in(entry.path());
      std::string line;
      std::string previous;
      int number = 0;
      // A declaration may wrap, so the id can sit on the line after "ErrorSite".
      for (; std::getline(in, line); previous = line) {
        ++number;
        if (line.find("ErrorSite") == std::string::npos &&
            previous.find("ErrorSite") == std::string::npos) {
          continue;
        }
        for (std::sregex_iterator it(line.begin(), line.end(), literal), end; it != end; ++it) {
          const std::string id = (*it)[1];
          const std::string where = entry.path().string() + ":" + std::to_string(number);
          auto [pos, inserted] = seen.emplace(id, where);
          if (!inserted) duplicates.push_back(id + " at " + where + " and " + pos->second);
        }
      }
    }
  }
  EXPECT_FALSE(seen.empty());
  EXPECT_TRUE(duplicates.empty()) << [&] {
    std::string all;
    for (const auto& d : duplicates) all += d + "\n";
    return all;
  }();
}

}  // namespace
}  // namespace prvdrinfo

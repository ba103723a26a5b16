#include "services/internal/file_service.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <functional>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"

namespace prvdrinfo {
namespace {

using testing::ErrorNumberOf;

namespace fs = std::filesystem;

class FileServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/prvdrinfo-file-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_, ignored);
  }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename());
    return names;
  }

  std::string folder_;
};

TEST(FileServiceJoin, ExactlyOneSlashBetweenTheParts) {
  struct Case {
    const char* folder;
    const char* name;
    const char* joined;
  } cases[] = {
      {"/data", "views.4db", "/data/views.4db"},
      {"/data/", "views.4db", "/data/views.4db"},
      {"/data//", "//views.4db", "/data/views.4db"},
      {"/data", "/views.4db", "/data/views.4db"},
      {"/", "x", "/x"},
      {"//", "x", "/x"},
      {"", "x", "x"},
      {"", "/x", "/x"},
      {"rel", "x", "rel/x"},
      {"/data", "", "/data/"},
      {"/data/", "sub/x", "/data/sub/x"},
      {"/data", "68m@9d4{6)']]68m4s^$af.4db", "/data/68m@9d4{6)']]68m4s^$af.4db"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FileService::Join(c.folder, c.name), c.joined) << c.folder << " + " << c.name;
}

TEST_F(FileServiceTest, WriteThenReadGivesTheSameBytesWhateverTheName) {
  Bytes binary;
  for (int i = 0; i < 256; ++i) binary.push_back(static_cast<uint8_t>(i));
  Bytes big(3 * 1024 * 1024 + 17);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 31 + 7);
  struct Case {
    std::string name;
    Bytes content;
  } cases[] = {
      {"68m@9d4{6)']]68m4s^$af.4db", binary},
      {"empty.bin", {}},
      {"big.bin", big},
      {"naïve \"quoted\" 'name'.txt", {'h', 'i'}},
      {std::string("bad\xff\xfe-utf8"), {0}},
  };
  for (const auto& c : cases) {
    const std::string path = FileService::Join(folder_, c.name);
    EXPECT_FALSE(FileService::FileExists(path));
    FileService::WriteAll(path, c.content);
    EXPECT_TRUE(FileService::FileExists(path));
    EXPECT_EQ(FileService::ReadAll(path), c.content) << c.name;
  }
}

TEST_F(FileServiceTest, OverwriteReplacesTheContentKeepsPermissionsAndLeavesNoTemporaryFile) {
  const std::string path = Path("data.bin");
  FileService::WriteAll(path, Bytes(1000, 'a'));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  FileService::WriteAll(path, Bytes{'b'});
  EXPECT_EQ(FileService::ReadAll(path), Bytes{'b'});
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(), std::vector<std::string>{"data.bin"});
}

TEST_F(FileServiceTest, ReadersNeverSeeAHalfWrittenFile) {
  // A child process rewrites the file with alternating contents of different lengths;
  // every read in the parent must find one of them whole.
  const std::string path = Path("shared.bin");
  const Bytes first(200000, 'x');
  const Bytes second(70000, 'y');
  FileService::WriteAll(path, first);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    for (int i = 0; i < 60; ++i) FileService::WriteAll(path, i % 2 ? first : second);
    ::_exit(0);
  }
  int torn = 0;
  int reads = 0;
  for (;;) {
    const Bytes seen = FileService::ReadAll(path);
    ++reads;
    if (seen != first && seen != second) ++torn;
    int status = 0;
    if (::waitpid(child, &status, WNOHANG) == child) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
      break;
    }
  }
  EXPECT_EQ(torn, 0) << "of " << reads << " reads";
  EXPECT_EQ(Entries(), std::vector<std::string>{"shared.bin"});
}

TEST_F(FileServiceTest, FailuresAreErrorsWithTheRuntimesNumbers) {
  const std::string missingFolder = Path("no/such/folder/file.bin");
  const std::string nul = std::string("a\0b", 3);
  ASSERT_EQ(::mkdir(Path("sub").c_str(), 0755), 0);
  FileService::WriteAll(Path("plain"), Bytes{'1'});

  struct Case {
    const char* what;
    std::function<void()> action;
    int32_t number;
  } cases[] = {
      {"read missing file", [&] { FileService::ReadAll(Path("absent")); }, err::kFileNotFound},
      {"read empty path", [&] { FileService::ReadAll(""); }, err::kFileNotFound},
      {"read a folder", [&] { FileService::ReadAll(Path("sub")); }, err::kPathFileAccessError},
      {"read through a file", [&] { FileService::ReadAll(Path("plain/x")); }, err::kPathNotFound},
      {"read with NUL", [&] { FileService::ReadAll(nul); }, err::kInvalidProcedureCall},
      {"write into missing folder", [&] { FileService::WriteAll(missingFolder, Bytes{1}); },
       err::kPathNotFound},
      {"write over a folder", [&] { FileService::WriteAll(Path("sub"), Bytes{1}); },
       err::kPathFileAccessError},
      {"write to a folder path", [&] { FileService::WriteAll(Path("sub/"), Bytes{1}); },
       err::kPathFileAccessError},
      {"write to empty path", [&] { FileService::WriteAll("", Bytes{1}); },
       err::kPathFileAccessError},
      {"write with NUL", [&] { FileService::WriteAll(nul, Bytes{1}); }, err::kInvalidProcedureCall},
      {"folder over a file", [&] { FileService::CreateFolder(Path("plain/deeper")); },
       err::kPathNotFound},
      {"folder where a file is", [&] { FileService::CreateFolder(Path("plain")); },
       err::kPathNotFound},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorNumberOf(c.action), c.number) << c.what;

  try {
    FileService::ReadAll(Path("absent"));
  } catch (const CError& e) {
    EXPECT_NE(e.Description().find(Path("absent")), std::string::npos) << e.Description();
    EXPECT_NE(e.Description().find("No such file"), std::string::npos) << e.Description();
  }
}

TEST_F(FileServiceTest, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const std::string path = Path("keep.bin");
  FileService::WriteAll(path, Bytes{'o', 'l', 'd'});
  ASSERT_EQ(::chmod(folder_.c_str(), 0555), 0);
  EXPECT_EQ(ErrorNumberOf([&] {
              FileService::WriteAll(path, Bytes{'n', 'e', 'w'});
            }),
            err::kPermissionDenied);
  ASSERT_EQ(::chmod(folder_.c_str(), 0755), 0);
  EXPECT_EQ(FileService::ReadAll(path), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(Entries(), std::vector<std::string>{"keep.bin"});
}

TEST_F(FileServiceTest, AWriteThatFailsHalfwayLeavesTheOldFileAndNoTemporaryFile) {
  // A file-size limit in a child process makes the write fail after the temporary file
  // has received part of the bytes.
  const std::string path = Path("keep.bin");
  FileService::WriteAll(path, Bytes{'o', 'l', 'd'});
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      FileService::WriteAll(path, Bytes(5000, 'n'));
    } catch (const CError& e) {
      ::_exit(e.Number() == err::kPathFileAccessError ? 0 : 2);
    }
    ::_exit(1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(FileService::ReadAll(path), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(Entries(), std::vector<std::string>{"keep.bin"});
}

TEST_F(FileServiceTest, ExistenceTestsNeverRaise) {
  ASSERT_EQ(::mkdir(Path("sub").c_str(), 0755), 0);
  FileService::WriteAll(Path("f"), Bytes{});
  EXPECT_TRUE(FileService::FileExists(Path("f")));
  EXPECT_FALSE(FileService::FileExists(Path("sub")));
  EXPECT_TRUE(FileService::FolderExists(Path("sub")));
  EXPECT_FALSE(FileService::FolderExists(Path("f")));
  for (const std::string& odd :
       {std::string(), std::string("a\0b", 3), std::string(5000, 'x'), Path("f/g")}) {
    EXPECT_FALSE(FileService::FileExists(odd));
    EXPECT_FALSE(FileService::FolderExists(odd));
  }
}

TEST_F(FileServiceTest, CreateFolderMakesParentsAndAcceptsAnExistingFolder) {
  const std::string deep = Path("a/b/c");
  FileService::CreateFolder(deep);
  EXPECT_TRUE(FileService::FolderExists(deep));
  FileService::CreateFolder(deep);
  FileService::CreateFolder(deep + "/");
  EXPECT_TRUE(FileService::FolderExists(deep));
}

}  // namespace
}  // namespace prvdrinfo

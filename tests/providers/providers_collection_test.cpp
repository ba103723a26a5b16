// The providers collection: shells keyed by provider GUID, their bytes and content, and
// the form-linked views file, which a crash while saving never leaves half written.
#include "prvdrinfo/providers/providers_collection.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/keyed_collection.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/services/vesk.h"
#include "support/error_capture.h"
#include "support/temp_dir.h"
#include "test_provider.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;
using testing::TestProvider;

std::shared_ptr<TestProvider> Provider(const std::string& guid) {
  auto provider = std::make_shared<TestProvider>();
  provider->guid = guid;
  return provider;
}

std::vector<std::string> GuidsOf(const CProvidersCollection& providers) {
  std::vector<std::string> guids;
  for (const auto& shell : providers) guids.push_back(shell->Guid());
  return guids;
}

TEST(ProvidersCollection, AShellIsStoredItselfAnyOtherProviderAsANewShell) {
  CProvidersCollection providers;
  auto shell = std::make_shared<CProviderInfoShell>();
  shell->Clone(Provider("SHELL-A"));
  providers.Add(shell);
  const auto provider = Provider("PROVIDER-B");
  providers.Add(provider);

  EXPECT_EQ(providers.ProviderInfoShell("SHELL-A"), shell);
  const auto cloned = providers.ProviderInfoShell("PROVIDER-B");
  EXPECT_EQ(cloned->ClassName(), "CTest");
  // The provider is not kept: its later changes do not show.
  provider->views->Add("VIEW", "Later");
  EXPECT_EQ(cloned->Views()->Count(), 0);
  EXPECT_EQ(GuidsOf(providers), (std::vector<std::string>{"SHELL-A", "PROVIDER-B"}));
}

TEST(ProvidersCollection, LookupsIgnoreCaseAndFailOnWhatIsNotThere) {
  CProvidersCollection providers;
  for (const char* guid : {"AAA-1", "BBB-2"}) providers.Add(Provider(guid));
  EXPECT_EQ(providers.ProviderInfo("bbb-2")->Guid(), "BBB-2");
  EXPECT_EQ(providers.ProviderInfoByIndex(0)->Guid(), "AAA-1");
  EXPECT_EQ(providers.ProviderInfoShellByIndex(1), providers.ProviderInfoShell("Bbb-2"));
  EXPECT_TRUE(providers.Exists("aaa-1"));
  EXPECT_FALSE(providers.Exists("CCC-3"));

  struct Case {
    const char* what;
    std::function<void()> call;
    int32_t number;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"unknown GUID", [&] { providers.ProviderInfo("CCC-3"); }, 5},
           {"unknown shell", [&] { providers.ProviderInfoShell("CCC-3"); }, 5},
           {"index past the end", [&] { providers.ProviderInfoByIndex(2); }, 9},
           {"negative index", [&] { providers.ProviderInfoShellByIndex(-1); }, 9},
           {"same GUID again", [&] { providers.Add(Provider("aaa-1")); }, 457},
           {"removing an unknown GUID", [&] { providers.Remove("CCC-3"); }, 5},
           {"nothing to add", [&] { providers.Add(nullptr); }, 91},
       }) {
    EXPECT_EQ(ErrorOf(c.call).Number(), c.number) << c.what;
  }
  EXPECT_EQ(providers.Count(), 2);
  providers.Remove("AAA-1");
  EXPECT_EQ(GuidsOf(providers), (std::vector<std::string>{"BBB-2"}));
  providers.RemoveAll();
  EXPECT_EQ(providers.Count(), 0);
}

CProvidersCollection ThreeProviders() {
  CProvidersCollection providers;
  for (const char* guid : {"GUID-C", "GUID-A", "GUID-B"}) providers.Add(Provider(guid));
  providers.ProviderInfoShell("GUID-A")->Views()->Add("VIEW-1", "First");
  providers.ProviderFormLinkedChildViews()->LinkViewToProvider("GUID-C", "VIEW-1", "GUID-A", false);
  return providers;
}

TEST(ProvidersCollection, ContentMovesTheShellsInOrderUnderTheirGuids) {
  const CProvidersCollection source = ThreeProviders();
  CProvidersCollection target;
  target.Add(Provider("OLD"));
  target.SetContent(source.Content());
  EXPECT_EQ(GuidsOf(target), (std::vector<std::string>{"GUID-C", "GUID-A", "GUID-B"}));
  EXPECT_EQ(target.ProviderInfoShell("guid-a")->Views()->Count(), 1);
  EXPECT_FALSE(target.Exists("OLD"));
  EXPECT_EQ(target.Content(), source.Content());

  // Bytes that are no collection of shells change nothing.
  KeyedCollection strangers;
  strangers.Add(Variant(std::string("not a shell")), "X");
  EXPECT_NE(ErrorOf([&] { target.SetContent(Variant(strangers.Content())); }).Number(), 0);
  EXPECT_EQ(ErrorOf([&] { target.SetContent(Variant(std::string("text"))); }).Number(), 13);
  EXPECT_EQ(GuidsOf(target), (std::vector<std::string>{"GUID-C", "GUID-A", "GUID-B"}));
}

TEST(ProvidersCollection, BytesReproduceShellsLinksAndContent) {
  const CProvidersCollection source = ThreeProviders();
  const Bytes bytes = source.Serialize();
  CProvidersCollection restored;
  restored.Deserialize(bytes);
  EXPECT_EQ(restored.Serialize(), bytes);
  EXPECT_EQ(restored.ContentId(), source.ContentId());
  EXPECT_EQ(GuidsOf(restored), GuidsOf(source));
  EXPECT_TRUE(restored.ProviderFormLinkedChildViews()->ProviderHasLinkedView("guid-c"));

  PropertyBag bag;
  bag.SetContents(bytes);
  ASSERT_EQ(bag.Count(), 2U);
  EXPECT_EQ(bag.Entries()[0].key, "Providers");
  EXPECT_EQ(bag.Entries()[1].key, "FormLinkedViews");
  EXPECT_EQ(bag.ReadBytes("FormLinkedViews"), source.ProviderFormLinkedChildViews()->Serialize());
}

TEST(ProvidersCollection, ReadsTheOlderKeyedCollectionLayout) {
  auto first = std::make_shared<CProviderInfoShell>();
  first->Clone(Provider("OLD-1"));
  auto second = std::make_shared<CProviderInfoShell>();
  second->Clone(Provider("OLD-2"));
  PropertyBag bag;
  bag.WriteProperty("ProvidersCount", Variant(int32_t{2}));
  bag.WriteProperty("ProvidersKey0", std::string("OLD-1"));
  bag.WriteProperty("ProvidersItem0", Variant(first));
  bag.WriteProperty("ProvidersKey1", std::string("OLD-2"));
  bag.WriteProperty("ProvidersItem1", Variant(second));
  CProvidersCollection providers;
  providers.Deserialize(bag.Contents());
  EXPECT_EQ(GuidsOf(providers), (std::vector<std::string>{"OLD-1", "OLD-2"}));
  EXPECT_EQ(providers.ProviderFormLinkedChildViews()->Count(), 0);
}

TEST(ProvidersCollection, ContentStringIsTheShellsThenTheLinks) {
  const CProvidersCollection providers = ThreeProviders();
  std::u16string expected;
  for (const auto& shell : providers) expected += shell->ContentString();
  CProvidersCollection empty;
  EXPECT_EQ(empty.ContentString(), empty.ProviderFormLinkedChildViews()->ContentString());
  EXPECT_EQ(providers.ContentString(),
            expected + providers.ProviderFormLinkedChildViews()->ContentString());
}

class FormLinkedViewsFile : public ::testing::Test {
 protected:
  void SetUp() override { CVesk::SetDataFolder(dir_.Path()); }
  void TearDown() override { CVesk::SetDataFolder(""); }
  std::string File() const { return dir_.File(CProvidersCollection::kFormLinkedViewsFileName); }

  test::TempDir dir_;
};

TEST_F(FormLinkedViewsFile, SavesToTheDataFolderAndLoadsBack) {
  CProvidersCollection providers;
  providers.LoadFormLinkedViews();  // no file: nothing happens
  EXPECT_EQ(providers.ProviderFormLinkedChildViews()->Count(), 0);

  ThreeProviders().SaveFormLinkedViews();
  EXPECT_TRUE(std::ifstream(File()).good());
  providers.LoadFormLinkedViews();
  EXPECT_EQ(
      providers.ProviderFormLinkedChildViews()->LinkedViewInfoByProviderGuid("GUID-C")->ViewGuid(),
      "VIEW-1");

  std::ofstream(File(), std::ios::trunc) << "not links";
  EXPECT_NE(ErrorOf([&] { providers.LoadFormLinkedViews(); }).Number(), 0);
  EXPECT_EQ(providers.ProviderFormLinkedChildViews()->Count(), 1);
}

// Links to views with long names, so that writing the file takes about as long as
// building its bytes and a kill often lands in the middle of a write.
constexpr int kLinks = 2000;
CProvidersCollection ManyLinks(const std::string& generation) {
  CProvidersCollection providers;
  const auto links = providers.ProviderFormLinkedChildViews();
  const std::string padding(2000, generation[0]);
  for (int i = 0; i < kLinks; ++i) {
    links->LinkViewToProvider("PROVIDER-" + std::to_string(i),
                              generation + padding + std::to_string(i), "OWNER", false);
  }
  return providers;
}

// Returns once the file at the path is another file or has another size or time, or after
// two seconds.
void WaitForAChange(const std::string& path) {
  struct stat before {};
  stat(path.c_str(), &before);
  for (int i = 0; i < 20000; ++i) {
    struct stat now {};
    stat(path.c_str(), &now);
    if (now.st_ino != before.st_ino || now.st_size != before.st_size ||
        now.st_mtim.tv_nsec != before.st_mtim.tv_nsec ||
        now.st_mtim.tv_sec != before.st_mtim.tv_sec) {
      return;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
}

// A child saves two large generations in turn until it is killed; whenever that happens,
// the file holds one generation whole.
TEST_F(FormLinkedViewsFile, AKilledSaveLeavesTheOldFileOrTheNewOne) {
  const CProvidersCollection older = ManyLinks("OLD");
  const CProvidersCollection newer = ManyLinks("NEW");
  const Bytes olderBytes = older.ProviderFormLinkedChildViews()->Serialize();
  const Bytes newerBytes = newer.ProviderFormLinkedChildViews()->Serialize();
  older.SaveFormLinkedViews();
  for (int attempt = 0; attempt < 6; ++attempt) {
    SCOPED_TRACE(attempt);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) {
        newer.SaveFormLinkedViews();
        older.SaveFormLinkedViews();
      }
    }
    // Once the child has begun to replace the file, kills land at moments spread over a
    // save cycle.
    WaitForAChange(File());
    std::this_thread::sleep_for(std::chrono::microseconds(400 * attempt));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));

    CProvidersCollection reader;
    reader.LoadFormLinkedViews();
    const Bytes read = reader.ProviderFormLinkedChildViews()->Serialize();
    ASSERT_TRUE(read == olderBytes || read == newerBytes);
  }
}

}  // namespace
}  // namespace prvdrinfo

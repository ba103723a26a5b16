// ModuleLoader on real modules: the example modules, and variants of a probe module that
// fail in each way a module can. What a host sees of a failure, and that a module stays
// loaded exactly as long as a loader or a provider it made is alive.
#include "prvdrinfo/contract/module_loader.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/contract/provider_interfaces.h"
#include "prvdrinfo/contract/provider_module.h"
#include "prvdrinfo/foundation/error.h"
#include "support/error_capture.h"
#include "support/temp_dir.h"

namespace prvdrinfo {
namespace {

using testing::ErrorOf;

const std::string kProbe = LOADER_PROBE_MODULE;
constexpr const char* kSteadyGuid = "6E0D2B7A-93C4-4F15-8A2E-5B1C0D9F7E31";

// Whether the module is loaded, asked without loading it (and without keeping the
// reference that a successful RTLD_NOLOAD takes).
bool IsLoaded(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}

void ExpectContains(const std::string& text, const std::vector<std::string>& parts,
                    const std::string& what) {
  for (const std::string& part : parts)
    EXPECT_NE(text.find(part), std::string::npos) << what << ": " << text;
}

TEST(ModuleLoader, CreatesProvidersOfARealModule) {
#ifndef TASK_REGISTER_MODULE
  GTEST_SKIP() << "the example modules are not part of this build";
#else
  const ModuleLoader loader(TASK_REGISTER_MODULE);
  EXPECT_EQ(loader.Path(), TASK_REGISTER_MODULE);
  const auto provider = loader.CreateProvider("CTaskRegister");
  ASSERT_NE(provider, nullptr);
  EXPECT_EQ(provider->ClassName(), "CTaskRegister");
  EXPECT_EQ(provider->Guid(), "7D2C4A1E-5B3F-4E60-9A7B-1C2D3E4F5061");
  // The provider is the module's object: it answers for its own interfaces.
  EXPECT_NE(std::dynamic_pointer_cast<IProviderTitled>(provider), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderStored>(provider), nullptr);
  EXPECT_NE(loader.CreateProvider("CTaskRegister"), provider);

  const CError unknown = ErrorOf([&] { loader.CreateProvider("CDrawingRegister"); });
  EXPECT_EQ(unknown.Number(), err::kCannotCreateObject);
  EXPECT_EQ(unknown.Description(),
            std::string(TASK_REGISTER_MODULE) + " has no provider class CDrawingRegister");
#endif
}

TEST(ModuleLoader, RefusesWhatIsNoProviderModuleOfThisContract) {
  test::TempDir dir;
  std::ofstream(dir.File("text.so")) << std::string(200, 'x');
  struct Case {
    std::string path;
    int32_t number;
    std::vector<std::string> parts;
  };
  for (const Case& c : std::initializer_list<Case>{
           {dir.File("missing.so"),
            48,
            {"cannot load " + dir.File("missing.so") + ": ", "cannot open shared object file"}},
           {dir.File("text.so"),
            48,
            {"cannot load " + dir.File("text.so") + ": ", "invalid ELF header"}},
           // A bare name is a file of the working directory, not a library on the search path.
           {"libc.so.6", 48, {"cannot load libc.so.6: ./libc.so.6: "}},
           {LOADER_PROBE_BARE_MODULE,
            err::kDllFunctionNotFound,
            {std::string(LOADER_PROBE_BARE_MODULE) +
                 " is no provider module: it exports no contract version (",
             "prvdrinfo_ProviderContractVersion"}},
           {LOADER_PROBE_VERSION_ONLY_MODULE,
            err::kDllFunctionNotFound,
            {std::string(LOADER_PROBE_VERSION_ONLY_MODULE) +
                 " is no provider module: it exports no provider factory (",
             "prvdrinfo_CreateProvider"}},
           {LOADER_PROBE_V1_MODULE,
            48,
            {std::string(LOADER_PROBE_V1_MODULE) +
             " was built for provider contract version 1; this host has version " +
             std::to_string(kProviderContractVersion)}},
       }) {
    const CError e = ErrorOf([&] { ModuleLoader{c.path}; });
    EXPECT_EQ(e.Number(), c.number) << c.path;
    EXPECT_EQ(e.Source(), "ModuleLoader.Open") << c.path;
    EXPECT_EQ(e.Locations().size(), 1U) << c.path;
    ExpectContains(e.Description(), c.parts, c.path);
  }
  // A refused module is not left loaded.
  EXPECT_FALSE(IsLoaded(LOADER_PROBE_V1_MODULE));
}

TEST(ModuleLoader, AClassTheModuleLacksOrAnEmptyAnswerIsNoProvider) {
  const ModuleLoader loader(kProbe);
  struct Case {
    const char* name;
    int32_t number;
    std::string description;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"CMissing", err::kCannotCreateObject, kProbe + " has no provider class CMissing"},
           {"csteady", err::kCannotCreateObject, kProbe + " has no provider class csteady"},
           {"", err::kCannotCreateObject, kProbe + " has no provider class "},
           {"CNothing", 91, kProbe + ": creating CNothing failed: the factory gave no object"},
       }) {
    const CError e = ErrorOf([&] { loader.CreateProvider(c.name); });
    EXPECT_EQ(e.Number(), c.number) << c.name;
    EXPECT_EQ(e.Description(), c.description) << c.name;
    EXPECT_EQ(e.Source(), "ModuleLoader.CreateProvider") << c.name;
  }
}

// What a provider's construction throws reaches the host as a CError with the module's
// number, its text after the path and class, its context and its sites; the host goes on.
TEST(ModuleLoader, AFailingConstructionKeepsTheModulesNumberAndText) {
  const ModuleLoader loader(kProbe);
  const std::string creating = kProbe + ": creating ";
  struct Case {
    const char* name;
    int32_t number;
    std::string description;
    size_t sites;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"CRefusing", err::kObjectErrorBase + 513,
            creating + "CRefusing failed: The probe's register is closed.", 2},
           {"CThrowingStd", err::kUnspecified, creating + "CThrowingStd failed: disk on fire", 1},
           {"CThrowingOther", err::kUnspecified,
            creating + "CThrowingOther failed: Unspecified error", 1},
           {"CHungry", err::kOutOfMemory, creating + "CHungry failed: Out of memory", 1},
       }) {
    const CError e = ErrorOf([&] { loader.CreateProvider(c.name); });
    EXPECT_EQ(e.Number(), c.number) << c.name;
    EXPECT_EQ(e.Description(), c.description) << c.name;
    EXPECT_EQ(e.Locations().size(), c.sites) << c.name;
  }
  const CError refused = ErrorOf([&] { loader.CreateProvider("CRefusing"); });
  EXPECT_EQ(refused.Source(), "CRefusing.Construct");
  EXPECT_EQ(refused.Context(), "Register: north wing");
  EXPECT_EQ(refused.Locations().front().id,
            "13VWPIMWV4YA8OINGAQO5SQ0L");  // the module's own site, innermost
  EXPECT_EQ(loader.CreateProvider("CSteady")->Guid(), kSteadyGuid);
}

// A module that predates prvdrinfo_CreateProvider2 still loads; its failures carry only
// the number its factory returns.
TEST(ModuleLoader, AModuleWithTheFirstFactoryOnlyGivesItsNumber) {
  const ModuleLoader loader(LOADER_PROBE_LEGACY_MODULE);
  EXPECT_EQ(loader.CreateProvider("CSteady")->Guid(), kSteadyGuid);
  const std::string creating = std::string(LOADER_PROBE_LEGACY_MODULE) + ": creating ";
  struct Case {
    const char* name;
    int32_t number;
    std::string description;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"CRefusing", err::kObjectErrorBase + 513,
            creating + "CRefusing failed with error -2147220991"},
           {"CThrowingStd", err::kUnspecified,
            creating + "CThrowingStd failed with error -2147467259 (Unspecified error)"},
           {"CHungry", err::kOutOfMemory, creating + "CHungry failed with error 7 (Out of memory)"},
           {"CMissing", err::kCannotCreateObject,
            std::string(LOADER_PROBE_LEGACY_MODULE) + " has no provider class CMissing"},
       }) {
    const CError e = ErrorOf([&] { loader.CreateProvider(c.name); });
    EXPECT_EQ(e.Number(), c.number) << c.name;
    EXPECT_EQ(e.Description(), c.description) << c.name;
  }
}

TEST(ModuleLoader, AProviderKeepsItsModuleLoadedUntilItIsReleased) {
  ASSERT_FALSE(IsLoaded(kProbe)) << "an earlier test left the probe loaded";
  std::shared_ptr<IProviderInfo> provider;
  {
    const ModuleLoader loader(kProbe);
    EXPECT_TRUE(IsLoaded(kProbe));
    provider = loader.CreateProvider("CSteady");
    const ModuleLoader copy = loader;  // copies share the handle
    EXPECT_EQ(copy.CreateProvider("CSteady")->Guid(), kSteadyGuid);
  }
  // The loaders are gone; the provider still runs the module's code.
  EXPECT_TRUE(IsLoaded(kProbe));
  EXPECT_EQ(provider->Guid(), kSteadyGuid);
  EXPECT_EQ(provider->ClassName(), "CSteady");

  // Any pointer that shares the provider keeps the module too.
  std::shared_ptr<IObject> asObject = provider;
  provider.reset();
  EXPECT_TRUE(IsLoaded(kProbe));
  EXPECT_EQ(std::dynamic_pointer_cast<IProviderInfo>(asObject)->Guid(), kSteadyGuid);
  asObject.reset();
  EXPECT_FALSE(IsLoaded(kProbe));

  // A loader alone keeps it as well.
  {
    const ModuleLoader loader(kProbe);
    EXPECT_TRUE(IsLoaded(kProbe));
  }
  EXPECT_FALSE(IsLoaded(kProbe));
}

}  // namespace
}  // namespace prvdrinfo

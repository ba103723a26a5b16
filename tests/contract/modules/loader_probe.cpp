// A provider module with a class for each way a factory can fail, so that the loader's
// tests see real failures cross a real module boundary. Its CMake builds variants that
// leave entry points out (LOADER_PROBE_NO_VERSION, _NO_FACTORY, _NO_FACTORY2) or claim
// another contract version (LOADER_PROBE_CONTRACT_VERSION).
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include "prvdrinfo/contract/provider_module.h"
#include "prvdrinfo/foundation/error.h"
#include "support/quiet_provider.h"

namespace loader_probe {
namespace {

using prvdrinfo::IProviderInfo;

struct Steady : prvdrinfo::testing::QuietProvider {
  std::string Guid() const override { return "6E0D2B7A-93C4-4F15-8A2E-5B1C0D9F7E31"; }
  std::string ClassName() const override { return "CSteady"; }
};

struct Refusing : prvdrinfo::testing::QuietProvider {
  Refusing() {
    static constexpr prvdrinfo::ErrorSite kSite{"13VWPIMWV4YA8OINGAQO5SQ0L", "CRefusing.Construct"};
    kSite.Guard(
        [] {
          kSite.Raise(prvdrinfo::err::kObjectErrorBase + 513, "The probe's register is closed.");
        },
        [] { return "Register: north wing"; });
  }
};

struct ThrowingStd : prvdrinfo::testing::QuietProvider {
  ThrowingStd() { throw std::runtime_error("disk on fire"); }
};

struct ThrowingOther : prvdrinfo::testing::QuietProvider {
  ThrowingOther() { throw 42; }
};

struct Hungry : prvdrinfo::testing::QuietProvider {
  Hungry() { throw std::bad_alloc(); }
};

using Body = int32_t (*)(const char*, std::string_view, std::shared_ptr<IProviderInfo>*);
struct ProbeClass {
  const char* name;
  Body create2;  // lets what the construction throws leave
  Body create;   // turns it into a number
};
template <class T>
constexpr ProbeClass Probe(const char* name) {
  return {name, &prvdrinfo::CreateProvider2Of<T>, &prvdrinfo::CreateProviderOf<T>};
}
constexpr ProbeClass kClasses[] = {
    Probe<Steady>("CSteady"),           Probe<Refusing>("CRefusing"),
    Probe<ThrowingStd>("CThrowingStd"), Probe<ThrowingOther>("CThrowingOther"),
    Probe<Hungry>("CHungry"),
};

[[maybe_unused]] int32_t Create(const char* p_ClassName,
                                std::shared_ptr<IProviderInfo>* po_Provider, bool p_Throws) {
  const std::string_view name = p_ClassName != nullptr ? p_ClassName : "";
  if (name == "CNothing") return 0;  // success, and no object
  for (const ProbeClass& probe : kClasses) {
    if (name == probe.name)
      return (p_Throws ? probe.create2 : probe.create)(p_ClassName, probe.name, po_Provider);
  }
  return prvdrinfo::err::kCannotCreateObject;
}

}  // namespace
}  // namespace loader_probe

#ifndef LOADER_PROBE_NO_VERSION
#ifndef LOADER_PROBE_CONTRACT_VERSION
#define LOADER_PROBE_CONTRACT_VERSION prvdrinfo::kProviderContractVersion
#endif
extern "C" int32_t prvdrinfo_ProviderContractVersion() noexcept {
  return LOADER_PROBE_CONTRACT_VERSION;
}
#endif

#ifndef LOADER_PROBE_NO_FACTORY
extern "C" int32_t prvdrinfo_CreateProvider(
    const char* p_ClassName, std::shared_ptr<prvdrinfo::IProviderInfo>* po_Provider) noexcept {
  return loader_probe::Create(p_ClassName, po_Provider, false);
}
#endif

#ifndef LOADER_PROBE_NO_FACTORY2
extern "C" int32_t prvdrinfo_CreateProvider2(
    const char* p_ClassName, std::shared_ptr<prvdrinfo::IProviderInfo>* po_Provider) {
  return loader_probe::Create(p_ClassName, po_Provider, true);
}
#endif

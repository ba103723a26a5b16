#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <string_view>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/contract/provider_info.h"

// How a host finds the providers of a provider module (docs/provider-modules.md).
//
// A provider module is a shared library linked against the shared prvdrinfo library. It
// exports C symbols: the contract version it was built against, and factories that create
// a provider object by the class name that IProviderInfo.ClassName reports. A host opens
// the module named by IProviderInfo.DllName, checks the version, and asks a factory for
// the class; ModuleLoader (prvdrinfo/contract/module_loader.h) does all of it. The module
// must stay loaded while any of its objects is alive.
namespace prvdrinfo {

// Raised whenever the layout of the contract changes (an interface gains a successor,
// the shared types change). A host refuses a module built against another version. An
// optional entry point that a host finds or falls back from (prvdrinfo_CreateProvider2)
// leaves it as it is.
inline constexpr int32_t kProviderContractVersion = 2;

inline constexpr const char* kProviderContractVersionSymbol = "prvdrinfo_ProviderContractVersion";
inline constexpr const char* kCreateProviderSymbol = "prvdrinfo_CreateProvider";
inline constexpr const char* kCreateProvider2Symbol = "prvdrinfo_CreateProvider2";

}  // namespace prvdrinfo

extern "C" {
// Returns kProviderContractVersion as the module saw it when it was built.
PRVDRINFO_API int32_t prvdrinfo_ProviderContractVersion() noexcept;

// Creates a provider of the class named p_ClassName into *po_Provider. Returns 0 on
// success, else an automation error number and leaves *po_Provider untouched: 429 for a
// class the module does not have, 5 for a null argument, 7 when memory runs out, or the
// number of the error the provider's construction raised. Nothing is thrown.
PRVDRINFO_API int32_t prvdrinfo_CreateProvider(
    const char* p_ClassName, std::shared_ptr<prvdrinfo::IProviderInfo>* po_Provider) noexcept;

// The same factory, except that a failure of the provider's construction leaves it as the
// exception the construction raised, so that the host keeps the module's own number and
// text. Returns 0 on success, 429 for a class the module does not have, 5 for a null
// argument. Optional within contract version 2: a host prefers it and falls back to
// prvdrinfo_CreateProvider when a module does not export it.
PRVDRINFO_API int32_t prvdrinfo_CreateProvider2(
    const char* p_ClassName, std::shared_ptr<prvdrinfo::IProviderInfo>* po_Provider);
}

namespace prvdrinfo {
using ProviderContractVersionFn = decltype(&prvdrinfo_ProviderContractVersion);
using CreateProviderFn = decltype(&prvdrinfo_CreateProvider);
using CreateProvider2Fn = decltype(&prvdrinfo_CreateProvider2);
}  // namespace prvdrinfo

namespace prvdrinfo {

// The body of a module's prvdrinfo_CreateProvider2 for one class: checks the arguments and
// creates a TProvider when p_ClassName is p_ModuleClassName (exactly); what the
// construction throws leaves unchanged.
template <class TProvider>
int32_t CreateProvider2Of(const char* p_ClassName, std::string_view p_ModuleClassName,
                          std::shared_ptr<IProviderInfo>* po_Provider) {
  if (p_ClassName == nullptr || po_Provider == nullptr) return err::kInvalidProcedureCall;
  if (std::string_view(p_ClassName) != p_ModuleClassName) return err::kCannotCreateObject;
  *po_Provider = std::make_shared<TProvider>();
  return 0;
}

// The body of a module's prvdrinfo_CreateProvider for one class: as CreateProvider2Of,
// with what the construction throws turned into the error numbers the symbol returns.
template <class TProvider>
int32_t CreateProviderOf(const char* p_ClassName, std::string_view p_ModuleClassName,
                         std::shared_ptr<IProviderInfo>* po_Provider) noexcept {
  try {
    return CreateProvider2Of<TProvider>(p_ClassName, p_ModuleClassName, po_Provider);
  } catch (const CError& e) {
    return e.Number();
  } catch (const std::bad_alloc&) {
    return err::kOutOfMemory;
  } catch (...) {
    return err::kUnspecified;
  }
}

}  // namespace prvdrinfo

// Defines the entry points of a module with one provider class, TProvider, which
// IProviderInfo.ClassName reports as p_ModuleClassName:
//   PRVDRINFO_PROVIDER_MODULE(TaskRegister, "CTaskRegister")
// A module with several classes writes the three functions itself, with the two bodies
// above.
#define PRVDRINFO_PROVIDER_MODULE(TProvider, p_ModuleClassName)                                    \
  extern "C" int32_t prvdrinfo_ProviderContractVersion() noexcept {                                \
    return ::prvdrinfo::kProviderContractVersion;                                                  \
  }                                                                                                \
  extern "C" int32_t prvdrinfo_CreateProvider(                                                     \
      const char* p_ClassName,                                                                     \
      std::shared_ptr<::prvdrinfo::IProviderInfo>* po_Provider) noexcept {                         \
    return ::prvdrinfo::CreateProviderOf<TProvider>(p_ClassName, p_ModuleClassName, po_Provider);  \
  }                                                                                                \
  extern "C" int32_t prvdrinfo_CreateProvider2(                                                    \
      const char* p_ClassName, std::shared_ptr<::prvdrinfo::IProviderInfo>* po_Provider) {         \
    return ::prvdrinfo::CreateProvider2Of<TProvider>(p_ClassName, p_ModuleClassName, po_Provider); \
  }

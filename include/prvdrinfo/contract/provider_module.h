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
// exports two C symbols: the contract version it was built against, and a factory that
// creates a provider object by the class name that IProviderInfo.ClassName reports. A host
// opens the module named by IProviderInfo.DllName, checks the version, and asks the
// factory for the class. The module must stay loaded while any of its objects is alive.
namespace prvdrinfo {

// Raised whenever the layout of the contract changes (an interface gains a successor,
// the shared types change). A host refuses a module built against another version.
inline constexpr int32_t kProviderContractVersion = 2;

inline constexpr const char* kProviderContractVersionSymbol = "prvdrinfo_ProviderContractVersion";
inline constexpr const char* kCreateProviderSymbol = "prvdrinfo_CreateProvider";

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
}

namespace prvdrinfo {
using ProviderContractVersionFn = decltype(&prvdrinfo_ProviderContractVersion);
using CreateProviderFn = decltype(&prvdrinfo_CreateProvider);
}  // namespace prvdrinfo

namespace prvdrinfo {

// The body of a module's prvdrinfo_CreateProvider for one class: checks the arguments,
// creates a TProvider when p_ClassName is p_ModuleClassName (exactly), and turns what its
// construction throws into the error numbers the symbol returns.
//   extern "C" int32_t prvdrinfo_CreateProvider(const char* p_ClassName,
//       std::shared_ptr<prvdrinfo::IProviderInfo>* po_Provider) noexcept {
//     return prvdrinfo::CreateProviderOf<CTaskRegister>(p_ClassName, "CTaskRegister", po_Provider);
//   }
template <class TProvider>
int32_t CreateProviderOf(const char* p_ClassName, std::string_view p_ModuleClassName,
                         std::shared_ptr<IProviderInfo>* po_Provider) noexcept {
  if (p_ClassName == nullptr || po_Provider == nullptr) return err::kInvalidProcedureCall;
  if (std::string_view(p_ClassName) != p_ModuleClassName) return err::kCannotCreateObject;
  try {
    *po_Provider = std::make_shared<TProvider>();
    return 0;
  } catch (const CError& e) {
    return e.Number();
  } catch (const std::bad_alloc&) {
    return err::kOutOfMemory;
  } catch (...) {
    return err::kUnspecified;
  }
}

}  // namespace prvdrinfo

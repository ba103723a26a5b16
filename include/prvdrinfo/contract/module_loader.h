#pragma once

#include <memory>
#include <string>

#include "prvdrinfo/foundation/export.h"
#include "prvdrinfo/contract/provider_info.h"

namespace prvdrinfo {

// A provider module opened the way a host opens one (docs/provider-modules.md). The
// constructor loads the shared object at p_Path (a name without a slash is a file of the
// working directory, never searched for on the library path), finds the entry points of
// prvdrinfo/contract/provider_module.h and refuses a module built for another contract
// version. CreateProvider asks the module's factory for a provider by class name; it
// prefers prvdrinfo_CreateProvider2, whose failures keep the module's own text.
//
// Errors are CError, each naming the path: 48 when the file cannot be loaded (with the
// loader's reason) or was built for another contract version; 453 when it exports no
// contract version or no factory; 429 for a class the module does not have; 91 when the
// factory reports success but gives no object. A failure of the provider's construction
// keeps the number the module raised and its text (a foreign exception gives 80004005 with
// its text, running out of memory 7); a module that exports only prvdrinfo_CreateProvider
// gives its number alone. Whatever leaves a factory is caught, never ending the host.
//
// Ownership: copies of a loader share one handle. The module stays loaded while a loader
// or a provider it created is alive: each provider holds a share of the handle and drops
// it after the provider itself is gone. Other objects the module made (the columns or
// views it hands out, pointers it takes from shared_from_this) hold no share: keep their
// provider or the loader while they are in use.
//
// Threading: a loader may be shared by threads; its factory runs on the calling thread,
// and whether that is safe is the module's affair.
class PRVDRINFO_API ModuleLoader {
 public:
  explicit ModuleLoader(const std::string& p_Path);
  // Copies share the handle; there is no moved-from loader without one.
  ModuleLoader(const ModuleLoader&) = default;
  ModuleLoader& operator=(const ModuleLoader&) = default;
  ~ModuleLoader() = default;

  // The path the loader was given.
  const std::string& Path() const;

  // A new provider of the class whose IProviderInfo.ClassName is p_ClassName.
  std::shared_ptr<IProviderInfo> CreateProvider(const std::string& p_ClassName) const;

 private:
  struct Module;
  std::shared_ptr<const Module> module_;
};

}  // namespace prvdrinfo

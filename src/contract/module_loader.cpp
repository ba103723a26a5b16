#include "prvdrinfo/contract/module_loader.h"

#include <dlfcn.h>

#include <exception>
#include <string>
#include <utility>

#include "prvdrinfo/contract/provider_module.h"
#include "prvdrinfo/foundation/error.h"

namespace prvdrinfo {

namespace {

constexpr int32_t kErrorInLoadingDll = 48;
constexpr int32_t kObjectNotSet = 91;

constexpr ErrorSite kOpen{"LBK2RRNF8YGTPLI06YE35JMUA", "ModuleLoader.Open"};
constexpr ErrorSite kNoVersion{"EFMJ9D3N3AD1CN1ADBFIRTY12", "ModuleLoader.Open"};
constexpr ErrorSite kOtherVersion{"FFBD798QCNDDHYFW6U5V7XKNI", "ModuleLoader.Open"};
constexpr ErrorSite kNoFactory{"4CA5Q7OO2I1MM1V7A0V0PB0TH", "ModuleLoader.Open"};
constexpr ErrorSite kUnknownClass{"0Q07TWLOE27J10PUOATOUPJMN", "ModuleLoader.CreateProvider"};
constexpr ErrorSite kFactoryThrew{"H6G4195EJOZPYEX2QU82TORGJ", "ModuleLoader.CreateProvider"};
constexpr ErrorSite kFactoryFailed{"D8PDYJXRRAB06BY8U7P96NITY", "ModuleLoader.CreateProvider"};
constexpr ErrorSite kNoObject{"Q6N6PJ6BA4161KXJM6QDLFJM5", "ModuleLoader.CreateProvider"};

// The entry points as the loader calls them: without noexcept, so that what a module
// built without the contract's header lets out of them reaches the loader as an exception
// instead of ending the process.
using VersionEntry = int32_t (*)();
using FactoryEntry = int32_t (*)(const char*, std::shared_ptr<IProviderInfo>*);

// The loader's reason for the last failure, or "no reason given".
std::string LoaderReason() {
  const char* reason = dlerror();
  return reason != nullptr ? reason : "no reason given";
}

// A symbol of the module, or null; dlerror's text for a missing one goes to *po_Reason.
void* Symbol(void* p_Handle, const char* p_Name, std::string* po_Reason) {
  dlerror();
  void* symbol = dlsym(p_Handle, p_Name);
  if (symbol == nullptr) *po_Reason = LoaderReason();
  return symbol;
}

}  // namespace

struct ModuleLoader::Module {
  std::string path;
  void* handle = nullptr;
  FactoryEntry factory = nullptr;
  bool factoryThrows = false;  // prvdrinfo_CreateProvider2: failures leave as exceptions

  Module() = default;
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;
  // Every object of the module has gone by now: each holds a share of this.
  ~Module() {
    if (handle != nullptr) dlclose(handle);
  }
};

ModuleLoader::ModuleLoader(const std::string& p_Path) {
  auto module = std::make_shared<Module>();
  module->path = p_Path;
  // dlopen searches the library path for a bare file name; a host names a file.
  const std::string file = p_Path.find('/') == std::string::npos ? "./" + p_Path : p_Path;
  module->handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module->handle == nullptr) {
    kOpen.Raise(kErrorInLoadingDll, "cannot load " + p_Path + ": " + LoaderReason());
  }

  std::string reason;
  const auto version = reinterpret_cast<VersionEntry>(
      Symbol(module->handle, kProviderContractVersionSymbol, &reason));
  if (version == nullptr) {
    kNoVersion.Raise(
        err::kDllFunctionNotFound,
        p_Path + " is no provider module: it exports no contract version (" + reason + ")");
  }
  const int32_t built = kOtherVersion.Guard([&] { return version(); });
  if (built != kProviderContractVersion) {
    kOtherVersion.Raise(kErrorInLoadingDll, p_Path + " was built for provider contract version " +
                                                std::to_string(built) + "; this host has version " +
                                                std::to_string(kProviderContractVersion));
  }

  module->factory =
      reinterpret_cast<FactoryEntry>(Symbol(module->handle, kCreateProvider2Symbol, &reason));
  module->factoryThrows = module->factory != nullptr;
  if (module->factory == nullptr) {
    module->factory =
        reinterpret_cast<FactoryEntry>(Symbol(module->handle, kCreateProviderSymbol, &reason));
  }
  if (module->factory == nullptr) {
    kNoFactory.Raise(
        err::kDllFunctionNotFound,
        p_Path + " is no provider module: it exports no provider factory (" + reason + ")");
  }
  module_ = std::move(module);
}

const std::string& ModuleLoader::Path() const { return module_->path; }

std::shared_ptr<IProviderInfo> ModuleLoader::CreateProvider(const std::string& p_ClassName) const {
  const auto creating = [&] { return module_->path + ": creating " + p_ClassName + " failed"; };
  std::shared_ptr<IProviderInfo> provider;
  int32_t status = 0;
  try {
    status = module_->factory(p_ClassName.c_str(), &provider);
  } catch (...) {
    // Converted while the module is loaded: the exception may be of one of its classes.
    const CError raised = kFactoryThrew.Convert(std::current_exception());
    CError failure(raised.Number(), raised.Source(), creating() + ": " + raised.Description());
    failure.AddContext(raised.Context());
    for (const ErrorLocation& location : raised.Locations())
      failure.AddLocation(location.id, location.line);
    throw failure;
  }
  if (status == err::kCannotCreateObject) {
    kUnknownClass.Raise(err::kCannotCreateObject,
                        module_->path + " has no provider class " + p_ClassName);
  }
  if (status != 0) {
    const std::string_view standard = err::StandardDescription(status);
    kFactoryFailed.Raise(status, creating() + " with error " + std::to_string(status) +
                                     (standard.empty() ? "" : " (" + std::string(standard) + ")"));
  }
  if (provider == nullptr)
    kNoObject.Raise(kObjectNotSet, creating() + ": the factory gave no object");

  // The provider runs the module's code, its destructor included: it keeps the module
  // loaded, and is released before the module is.
  struct Holder {
    std::shared_ptr<const Module> module;
    std::shared_ptr<IProviderInfo> provider;
  };
  auto holder = std::make_shared<Holder>(Holder{module_, std::move(provider)});
  IProviderInfo* const object = holder->provider.get();
  return std::shared_ptr<IProviderInfo>(std::move(holder), object);
}

}  // namespace prvdrinfo

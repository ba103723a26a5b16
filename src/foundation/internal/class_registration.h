#pragma once

#include <memory>
#include <string_view>

#include "prvdrinfo/foundation/persistable.h"

namespace prvdrinfo {

// Adds a class of the library to the ClassRegistry unless a host has already registered
// its own class under that name (the host's wins). Returns true, for a static initializer.
bool RegisterLibraryClass(std::string_view className, ClassRegistry::Factory factory);

}  // namespace prvdrinfo

// Registers a persistable class when the library loads. Each subsystem registers its own
// classes in their own source files, so a program that links a class can restore it.
#define PRVDRINFO_REGISTER_CLASS(T)                                                               \
  namespace {                                                                                     \
  [[maybe_unused]] const bool kRegistered##T = ::prvdrinfo::RegisterLibraryClass(                 \
      T::kClassName,                                                                              \
      [] { return std::static_pointer_cast<::prvdrinfo::IPersistable>(std::make_shared<T>()); }); \
  }

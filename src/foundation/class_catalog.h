#pragma once

namespace prvdrinfo {

// Registers every persistable class of the library with the ClassRegistry, so nested
// objects read back as their own class. Runs once, on the first use of the registry.
void RegisterLibraryClasses();

}  // namespace prvdrinfo

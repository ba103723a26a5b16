#pragma once

// Marks what the shared library exports: the public classes, interfaces and functions.
// The library is built with hidden default visibility, so everything else stays inside
// it. Interfaces are exported too, so that a provider module and the host agree on their
// type identity when they cast between them.
#if defined(__GNUC__) || defined(__clang__)
#define PRVDRINFO_API __attribute__((visibility("default")))
#else
#define PRVDRINFO_API
#endif

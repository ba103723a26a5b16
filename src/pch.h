// Precompiled for every subsystem of the library: the standard headers most sources use
// and the foundation headers nearly all of them reach. Only speeds the build; every source
// still includes what it uses.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "prvdrinfo/foundation/error.h"
#include "prvdrinfo/foundation/persistable.h"
#include "prvdrinfo/foundation/property_bag.h"
#include "prvdrinfo/foundation/variant.h"

// Precompiled for the test programs: GoogleTest and the headers most tests include. Only
// speeds the build; every test still includes what it uses.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "prvdrinfo/prvdrinfo.h"

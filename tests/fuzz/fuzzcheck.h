// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>

namespace vantro::fuzz {

// A property the input broke: abort so that libFuzzer keeps the input as a finding.
inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace vantro::fuzz

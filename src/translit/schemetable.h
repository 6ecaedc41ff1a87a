// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter.h"

#include <cstddef>

namespace vantro {

// The ITRANS 6.00 table for Devanagari (Unicode output), in the scheme's own order.
const Letter *schemeLetters();
std::size_t schemeLetterCount();

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vantro {

// The scripts Sanskrit is written in here: ITRANS, as documents and the dictionary keep it, and
// the two it is shown and written out in. The window and the programs offer them in this order.
enum class Script { Itrans, Devanagari, Iast };

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vantro {

// What one step of the grammar made, or the reason it could not, in the shape of Inflection
// and RootDerivatives, for the steps that make one plain value. A failed step leaves the value
// as a default-made one, so a caller that only wants "nothing" on failure may read it anyway.
template <typename Value> struct Outcome
{
    Value value{};
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// A step that makes nothing to hand back but may fail, such as writing a file.
template <> struct Outcome<void>
{
    QString error;

    bool ok() const { return error.isEmpty(); }
};

} // namespace vantro

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vantro {

// How the window and the command-line programs end, as their man pages list it. The values are
// what scripts test: they never change.
enum ExitStatus : int {
    Success = 0,
    // The work could not be done as asked: an operation of vantro-dict or vantro-grammar failed,
    // or a dictionary could not be opened; vantro-translit's lint found something or a line of
    // its input was not valid UTF-8.
    Failure = 1,
    // The command line was wrong; vantro-translit also ends so when it cannot read its input or
    // write its output.
    BadUsage = 2,
};

} // namespace vantro

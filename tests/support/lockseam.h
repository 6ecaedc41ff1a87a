// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace vantro {

// A test executable linking vantro-lockseam has every flock() of the store pass through here
// first (the linker's --wrap), so that a test can play a program that is slow to lock: the hook
// runs once, before the next flock(), with the path of the file about to be locked.
void beforeNextFlock(void (*hook)(const QByteArray &path));
// The next open() of the store on exactly this path fails with the error number given, as a
// process out of descriptors would see it.
void failNextOpenOf(const QByteArray &path, int errorNumber);

} // namespace vantro

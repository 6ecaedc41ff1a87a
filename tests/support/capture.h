#pragma once

#include <QByteArray>
#include <functional>

namespace vantro::test {

// What a piece of code wrote to the process's standard output and error streams. The store
// writes its diagnostics with stdio and the library writes through its own error routine, so
// both are captured at the file-descriptor level.
struct Captured
{
    QByteArray out;
    QByteArray err;
};

Captured captureOutput(const std::function<void()> &work);

} // namespace vantro::test

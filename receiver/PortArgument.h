#pragma once

#include <QStringList>

#include <cstdint>

namespace receiver {

// The port of the first all-digit argument, kept in 16 bits (4520 when the
// number does not fit 32 bits); 4520 without such an argument.
std::uint16_t PortFromArguments(const QStringList& arguments);

} // namespace receiver

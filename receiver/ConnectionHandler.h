#pragma once

#include <QString>

namespace protocol {
class Connection;
}

namespace receiver {

class ReceiverHost;

// Receives one file on one accepted connection, on that connection's
// thread: checks the caller, writes the file into the caller's folder under
// the destination folder and keeps the caller's transfer row up to date.
// Returns with the connection shut down; a failure of the connection layer
// is passed on after the clean-up.
void tcpServerExecute(ReceiverHost& host, protocol::Connection& connection);

// Compares two texts in a time that depends on their lengths only, never on
// where they first differ.
bool ConstantTimeEquals(const QString& left, const QString& right);

} // namespace receiver

// The receive path: a file received by the real server and connection
// handler over loopback, against a framed TCP copy of the same file.
#include "BenchSupport.h"

#include "protocol/Connection.h"
#include "protocol/Fields.h"
#include "protocol/TcpServer.h"
#include "receiver/ConnectionHandler.h"
#include "toolkit/ExclusiveFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The sender's side of the dialogue, kept as lean as the baseline's.
double sendWithProtocol(std::uint16_t port, const QString& source)
{
    auto input = toolkit::ExclusiveFile::open(source, toolkit::ExclusiveFile::Mode::Read);
    if (!input)
        throw std::runtime_error("cannot read the source file");
    const auto start = std::chrono::steady_clock::now();
    auto connection = protocol::Connection::connectTo(u"127.0.0.1"_s, port);
    if (protocol::readTextLine(*connection) != protocol::kVersionText)
        throw std::runtime_error("wrong version");
    protocol::sendAnnouncement(*connection, u"bench"_s, u"source.bin"_s, input->size());
    connection->readByte();
    connection->writeByte(protocol::kWriteFromStart);
    std::vector<char> piece(protocol::kPieceSize);
    for (;;) {
        const auto n = input->read(piece.data(), static_cast<std::int64_t>(piece.size()));
        if (n <= 0)
            break;
        connection->writeBlock(piece.data(), static_cast<std::int32_t>(n));
    }
    if (protocol::readTextLine(*connection) != protocol::kCompletionText)
        throw std::runtime_error("no completion line");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char* argv[])
{
    try {
        const bench::Options options = bench::parseOptions(argc, argv);
        const bench::Scratch scratch(options, u"receive-bench"_s);
        bench::QuietHost host(scratch.destination());
        protocol::TcpServer server(
            [&host](protocol::Connection& c) { receiver::tcpServerExecute(host, c); });
        if (!server.start(0))
            throw std::runtime_error("cannot listen");

        const auto measured = [&] {
            const double seconds = sendWithProtocol(server.port(), scratch.source());
            QFile::remove(scratch.received());
            return seconds;
        };
        sendWithProtocol(server.port(), scratch.source());
        if (!bench::sameContent(scratch.source(), scratch.received()))
            throw std::runtime_error("the received file differs from the source");
        QFile::remove(scratch.received());

        std::printf("receive path vs framed copy, %lld bytes\n",
                    static_cast<long long>(options.size));
        bench::compare(options, u"receiver"_s, measured, [&] { return scratch.baselineRun(); });
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "receive_bench: %s\n", e.what());
        return 1;
    }
}

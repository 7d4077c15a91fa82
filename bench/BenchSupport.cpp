#include "BenchSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <stdexcept>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace bench {
namespace {

constexpr std::size_t kPiece = 32768;

void readAll(int socket, char* data, std::size_t length)
{
    while (length > 0) {
        const ssize_t got = ::recv(socket, data, std::min(length, kPiece), 0);
        if (got <= 0)
            throw std::runtime_error("baseline: receive failed");
        data += got;
        length -= static_cast<std::size_t>(got);
    }
}

void sendAll(int socket, iovec* parts, int count)
{
    while (count > 0) {
        msghdr message{};
        message.msg_iov = parts;
        message.msg_iovlen = static_cast<std::size_t>(count);
        ssize_t sent = ::sendmsg(socket, &message, MSG_NOSIGNAL);
        if (sent <= 0)
            throw std::runtime_error("baseline: send failed");
        while (count > 0 && static_cast<std::size_t>(sent) >= parts->iov_len) {
            sent -= static_cast<ssize_t>(parts->iov_len);
            ++parts;
            --count;
        }
        if (count > 0) {
            parts->iov_base = static_cast<char*>(parts->iov_base) + sent;
            parts->iov_len -= static_cast<std::size_t>(sent);
        }
    }
}

void receiveFramed(int listener, const QString& target, std::int64_t size)
{
    const int socket = ::accept(listener, nullptr, nullptr);
    const int file = ::open(QFile::encodeName(target).constData(),
                            O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    std::vector<char> block(kPiece);
    std::int64_t received = 0;
    while (received < size) {
        char header[4];
        readAll(socket, header, sizeof header);
        const auto length = static_cast<std::size_t>(qFromBigEndian<std::int32_t>(header));
        readAll(socket, block.data(), length);
        if (::write(file, block.data(), length) != static_cast<ssize_t>(length))
            throw std::runtime_error("baseline: write failed");
        received += static_cast<std::int64_t>(length);
    }
    ::close(file);
    const char done = 1;
    ::send(socket, &done, 1, MSG_NOSIGNAL);
    ::close(socket);
}

} // namespace

std::int64_t parseSize(QString text)
{
    std::int64_t factor = 1;
    const QChar last = text.isEmpty() ? QChar() : text.back().toUpper();
    if (last == u'K' || last == u'M' || last == u'G') {
        factor = last == u'K' ? 1024 : last == u'M' ? 1024 * 1024 : 1024 * 1024 * 1024;
        text.chop(1);
    }
    bool ok = false;
    const std::int64_t value = text.toLongLong(&ok);
    if (!ok || value <= 0)
        throw std::invalid_argument("bad --size");
    return value * factor;
}

Options parseOptions(int argc, char* argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument.startsWith(u"--size="))
            options.size = parseSize(argument.mid(7));
        else if (argument.startsWith(u"--rounds="))
            options.rounds = std::max(1, argument.mid(9).toInt());
        else if (argument.startsWith(u"--dir="))
            options.folder = argument.mid(6);
        else if (argument == u"--control")
            options.control = true;
        else
            throw std::invalid_argument(
                "usage: [--size=BYTES[K|M|G]] [--rounds=N] [--dir=FOLDER] [--control]");
    }
    if (options.folder.isEmpty())
        options.folder = QDir(u"/dev/shm"_s).exists() ? u"/dev/shm"_s : QDir::tempPath();
    return options;
}

void makeSourceFile(const QString& path, std::int64_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the source file");
    std::mt19937_64 random(4520);
    QByteArray chunk(1 << 20, '\0');
    for (std::int64_t written = 0; written < size;) {
        for (qsizetype i = 0; i + 8 <= chunk.size(); i += 8) {
            const std::uint64_t value = random();
            std::memcpy(chunk.data() + i, &value, 8);
        }
        const qint64 n = std::min<std::int64_t>(chunk.size(), size - written);
        file.write(chunk.constData(), n);
        written += n;
    }
}

bool sameContent(const QString& left, const QString& right)
{
    QFile a(left);
    QFile b(right);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size())
        return false;
    while (!a.atEnd()) {
        if (a.read(1 << 20) != b.read(1 << 20))
            return false;
    }
    return true;
}

double framedCopy(const QString& source, const QString& target)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read the source file");
    const std::int64_t size = input.size();

    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener, 1);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::thread receiver(receiveFramed, listener, target, size);

    const auto start = std::chrono::steady_clock::now();
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("baseline: connect failed");
    const int file = input.handle();
    std::vector<char> piece(kPiece);
    for (;;) {
        const ssize_t n = ::read(file, piece.data(), piece.size());
        if (n <= 0)
            break;
        char header[4];
        qToBigEndian(static_cast<std::int32_t>(n), header);
        iovec parts[2] = {{header, 4}, {piece.data(), static_cast<std::size_t>(n)}};
        sendAll(socket, parts, 2);
    }
    char done = 0;
    ::recv(socket, &done, 1, 0);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::close(socket);
    receiver.join();
    ::close(listener);
    return seconds;
}

Scratch::Scratch(const Options& options, const QString& name)
    : m_folder(options.folder + u'/' + name + u"-XXXXXX"_s)
    , m_source(path(u"source.bin"_s))
    , m_destination(path(u"destination"_s))
{
    if (!m_folder.isValid())
        throw std::runtime_error("cannot make a scratch folder");
    QDir().mkpath(m_destination);
    makeSourceFile(m_source, options.size);
}

double Scratch::baselineRun() const
{
    const QString target = path(u"baseline.bin"_s);
    const double seconds = framedCopy(m_source, target);
    QFile::remove(target);
    return seconds;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

namespace {

double processCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Run
{
    double mibPerSecond;
    double cpuSeconds;
};

Run timed(double mib, const std::function<double()>& copy)
{
    const double cpuBefore = processCpuSeconds();
    const double seconds = copy();
    return Run{mib / seconds, processCpuSeconds() - cpuBefore};
}

} // namespace

double compare(const Options& options, const QString& measuredName,
               const std::function<double()>& measured, const std::function<double()>& baseline,
               bool countCpu)
{
    const double mib = static_cast<double>(options.size) / (1024.0 * 1024.0);
    // --control measures the baseline against itself: the noise floor.
    const std::function<double()>& measure = options.control ? baseline : measured;
    std::printf("warm-up...\n");
    std::fflush(stdout);
    measure();
    baseline();

    std::vector<double> measuredRates;
    std::vector<double> baselineRates;
    std::vector<double> ratios;
    std::vector<double> cpuRatios;
    for (int round = 0; round < options.rounds; ++round) {
        // Alternate which goes first, so neither always finds a warmer cache.
        Run m{};
        Run b{};
        if (round % 2 == 0) {
            m = timed(mib, measure);
            b = timed(mib, baseline);
        } else {
            b = timed(mib, baseline);
            m = timed(mib, measure);
        }
        measuredRates.push_back(m.mibPerSecond);
        baselineRates.push_back(b.mibPerSecond);
        ratios.push_back(m.mibPerSecond / b.mibPerSecond);
        cpuRatios.push_back(b.cpuSeconds / m.cpuSeconds);
        std::printf("round %d: %s %.1f MiB/s, framed copy %.1f MiB/s, ratio %.3f", round + 1,
                    qPrintable(measuredName), m.mibPerSecond, b.mibPerSecond, ratios.back());
        if (countCpu)
            std::printf(", cpu ratio %.3f", cpuRatios.back());
        std::printf("\n");
        std::fflush(stdout);
    }
    const double ratio = median(ratios);
    std::printf("median: %s %.1f MiB/s, framed copy %.1f MiB/s, ratio %.3f",
                qPrintable(measuredName), median(measuredRates), median(baselineRates), ratio);
    if (countCpu)
        std::printf(", cpu ratio %.3f", median(cpuRatios));
    std::printf(" (%d rounds of %.0f MiB)\n", options.rounds, mib);
    return ratio;
}

} // namespace bench

// The two real executables: qrv --headless receiving a file from
// korvalla --send, against the framed TCP copy of the same run; then the
// peak memory of both programs for a larger file.
#include "BenchSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <stdexcept>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

extern char** environ;

namespace {

struct Child
{
    pid_t pid = -1;
    int output = -1; // the read end of its standard output
};

Child spawn(const QStringList& arguments)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<QByteArray> storage;
    std::vector<char*> argv;
    for (const QString& argument : arguments)
        storage.push_back(QFile::encodeName(argument));
    for (QByteArray& s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    Child child;
    if (posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start " + storage[0].toStdString());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    child.output = pipeEnds[0];
    return child;
}

QByteArray readLine(int fd)
{
    QByteArray line;
    char c = 0;
    while (::read(fd, &c, 1) == 1 && c != '\n')
        line.append(c);
    return line;
}

// Waits for the child; its exit status and peak resident memory in KiB.
std::pair<int, long> reap(const Child& child)
{
    int status = 0;
    rusage usage{};
    ::wait4(child.pid, &status, 0, &usage);
    ::close(child.output);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

long peakKiB(pid_t pid)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

class Receiver
{
public:
    Receiver(const QString& qrv, const QString& destination, const QString& passwordFile)
        : m_child(spawn({qrv, u"--headless"_s, u"0"_s, u"/ALLOWSLEEP"_s, u"/ENGLISH"_s,
                         u"--dest="_s + destination, u"--password-file="_s + passwordFile}))
    {
        const QByteArray first = readLine(m_child.output); // "qrv: listening on port N, ..."
        m_port = first.split(' ').value(4).replace(',', "").toUShort();
        if (m_port == 0)
            throw std::runtime_error("qrv did not start: " + first.toStdString());
    }
    ~Receiver() { stop(); }

    std::uint16_t port() const { return m_port; }
    long peak() const { return peakKiB(m_child.pid); }
    void stop()
    {
        if (m_stopped)
            return;
        m_stopped = true;
        ::kill(m_child.pid, SIGTERM);
        reap(m_child);
    }

private:
    Child m_child;
    std::uint16_t m_port = 0;
    bool m_stopped = false;
};

// One korvalla --send run: seconds and peak memory.
std::pair<double, long> sendFile(const QString& korvalla, std::uint16_t port,
                                 const QString& passwordFile, const QString& file)
{
    const auto start = std::chrono::steady_clock::now();
    const Child child =
        spawn({korvalla, u"--send"_s, u"/ALLOWSLEEP"_s, u"--host=127.0.0.1"_s,
               u"--port="_s + QString::number(port), u"--password-file="_s + passwordFile,
               u"--overwrite"_s, u"--retries=0"_s, file});
    const auto [status, peak] = reap(child);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0)
        throw std::runtime_error("korvalla --send failed");
    return {seconds, peak};
}

} // namespace

int main(int argc, char* argv[])
{
    try {
        // --memory-size=BYTES picks the file of the memory run (4 GiB).
        std::int64_t memorySize = std::int64_t{4} << 30;
        std::vector<char*> benchArgs{argv[0]};
        for (int i = 1; i < argc; ++i) {
            if (QByteArray(argv[i]).startsWith("--memory-size="))
                memorySize = bench::parseSize(QString::fromLocal8Bit(argv[i] + 14));
            else
                benchArgs.push_back(argv[i]);
        }
        const bench::Options options =
            bench::parseOptions(static_cast<int>(benchArgs.size()), benchArgs.data());
        const QString programs =
            QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath() + u"/../bin/"_s;
        const QString qrv = programs + u"qrv"_s;
        const QString korvalla = programs + u"korvalla"_s;

        const bench::Scratch scratch(options, u"pair-bench"_s);
        const QString passwordFile = scratch.path(u"password"_s);
        {
            QFile file(passwordFile);
            file.open(QIODevice::WriteOnly);
            file.write("bench\n");
        }
        {
            Receiver receiver(qrv, scratch.destination(), passwordFile);
            const auto measured = [&] {
                const double seconds =
                    sendFile(korvalla, receiver.port(), passwordFile, scratch.source()).first;
                QFile::remove(scratch.received());
                return seconds;
            };
            sendFile(korvalla, receiver.port(), passwordFile, scratch.source());
            if (!bench::sameContent(scratch.source(), scratch.received()))
                throw std::runtime_error("the received file differs from the source");
            QFile::remove(scratch.received());
            std::printf("qrv --headless + korvalla --send (whole processes, start-up included) "
                        "vs framed copy, %lld bytes\n",
                        static_cast<long long>(options.size));
            // The programs' time is their own processes': no CPU ratio here.
            bench::compare(
                options, u"programs"_s, measured, [&] { return scratch.baselineRun(); }, false);
        }

        // Peak memory for a large file: it must not grow with the file.
        bench::makeSourceFile(scratch.source(), memorySize);
        Receiver receiver(qrv, scratch.destination(), passwordFile);
        const auto [seconds, senderPeak] =
            sendFile(korvalla, receiver.port(), passwordFile, scratch.source());
        const long receiverPeak = receiver.peak();
        receiver.stop();
        std::printf("peak RSS for %.1f GiB (%.1f s): korvalla --send %.1f MiB, qrv --headless "
                    "%.1f MiB\n",
                    static_cast<double>(memorySize) / (1 << 30), seconds,
                    static_cast<double>(senderPeak) / 1024,
                    static_cast<double>(receiverPeak) / 1024);
        QFile::remove(scratch.received());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pair_bench: %s\n", e.what());
        return 1;
    }
}

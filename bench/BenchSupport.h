#pragma once

#include "receiver/ReceiverHost.h"

#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace bench {

struct Options
{
    std::int64_t size = std::int64_t{1} << 30; // 1 GiB
    int rounds = 15;
    // Where the files go. By default a memory file system where there is
    // one: the disk's write-back otherwise swamps what is measured.
    QString folder;
    bool control = false;
};

// BYTES with an optional K, M or G.
std::int64_t parseSize(QString text);

// --size=BYTES (K, M or G suffix allowed), --rounds=N, --dir=FOLDER,
// --control.
Options parseOptions(int argc, char* argv[]);

// Writes Size pseudo-random bytes to Path.
void makeSourceFile(const QString& path, std::int64_t size);

// True when the two files hold the same bytes.
bool sameContent(const QString& left, const QString& right);

// The baseline: a plain TCP copy with the protocol's framing (a 4-byte
// length and up to 32 KiB per piece) and nothing else: no greeting, no
// fields, no file checks. The receiver writes into Target and answers one
// byte when it holds the whole file. Returns the seconds from connect to
// that answer.
double framedCopy(const QString& source, const QString& target);

// A folder of one benchmark run under Options.folder: the source file of
// Options.size bytes, the receiver's destination folder, and the baseline.
class Scratch
{
public:
    Scratch(const Options& options, const QString& name);

    QString path(const QString& name) const { return m_folder.filePath(name); }
    const QString& source() const { return m_source; }
    const QString& destination() const { return m_destination; }
    // Where the receiver puts the source file.
    QString received() const { return m_destination + QStringLiteral("/127.0.0.1/source.bin"); }
    // One framed copy of the source; its seconds. The copy is removed.
    double baselineRun() const;

private:
    QTemporaryDir m_folder;
    QString m_source;
    QString m_destination;
};

struct Measurement
{
    QString name;
    std::vector<double> mibPerSecond;
};

// Runs Measured and Baseline alternately (after one warm-up of each),
// reports the median throughput of each and the median of the per-round
// ratios, and returns that median ratio.
// With CountCpu, also the median ratio of this process's CPU time.
double compare(const Options& options, const QString& measuredName,
               const std::function<double()>& measured, const std::function<double()>& baseline,
               bool countCpu = true);

double median(std::vector<double> values);

// A receiver host without a window: rows and balloons go nowhere.
class QuietHost : public receiver::ReceiverHost
{
public:
    explicit QuietHost(QString folder, QString password = QStringLiteral("bench"))
        : m_folder(std::move(folder))
        , m_password(std::move(password))
    {}
    QString destinationFolder() const override { return m_folder; }
    QString currentPassword() const override { return m_password; }
    bool terminating() const override { return false; }
    std::mutex& transferListLock() override { return m_lock; }
    receiver::RowId addRow(const receiver::TransferRow&) override { return 0; }
    void setRow(receiver::RowId, const receiver::TransferRow&) override {}
    void showBalloon(const QString&, const QString&) override {}

private:
    const QString m_folder;
    const QString m_password;
    std::mutex m_lock;
};

} // namespace bench

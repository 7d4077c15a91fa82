#include "ExclusiveFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <mutex>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace toolkit {

// The paths that this process holds open for writing. A second holder of
// the same path is refused before it can touch the file.
class ExclusiveFile::PathClaim
{
public:
    static std::unique_ptr<PathClaim> take(const QString& key)
    {
        const std::lock_guard lock(registryMutex());
        if (!registry().insert(key).second)
            return nullptr;
        return std::unique_ptr<PathClaim>(new PathClaim(key));
    }

    ~PathClaim()
    {
        const std::lock_guard lock(registryMutex());
        registry().erase(m_key);
    }

    PathClaim(const PathClaim&) = delete;
    PathClaim& operator=(const PathClaim&) = delete;

private:
    explicit PathClaim(QString key)
        : m_key(std::move(key))
    {}

    static std::mutex& registryMutex()
    {
        static std::mutex mutex;
        return mutex;
    }
    static std::set<QString>& registry()
    {
        static std::set<QString> paths;
        return paths;
    }

    QString m_key;
};

namespace {

// The same file reached through different spellings of its folder gets one key.
QString claimKey(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + u'/' + info.fileName();
}

int retryOnInterrupt(auto call)
{
    int result = 0;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

} // namespace

std::unique_ptr<ExclusiveFile> ExclusiveFile::open(const QString& path, Mode mode)
{
    if (path.isEmpty())
        return nullptr;

    std::unique_ptr<PathClaim> claim;
    if (mode != Mode::Read) {
        claim = PathClaim::take(claimKey(path));
        if (!claim)
            return nullptr;
    }

    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Overwrite:
        // Not O_TRUNC: the file is emptied only once it is ours alone.
        flags |= O_RDWR | O_CREAT | O_NOFOLLOW;
        break;
    case Mode::Continue:
        flags |= O_RDWR | O_NOFOLLOW;
        break;
    case Mode::Read:
        flags |= O_RDONLY;
        break;
    }

    const QByteArray nativePath = QFile::encodeName(path);
    const int fd = retryOnInterrupt([&] { return ::open(nativePath.constData(), flags, 0666); });
    if (fd < 0)
        return nullptr;
    std::unique_ptr<ExclusiveFile> file(new ExclusiveFile(fd, std::move(claim)));

    struct stat status
    {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return nullptr;
    const int lockKind = mode == Mode::Read ? LOCK_SH : LOCK_EX;
    if (retryOnInterrupt([&] { return ::flock(fd, lockKind | LOCK_NB); }) != 0)
        return nullptr;

    if (mode == Mode::Overwrite && ::ftruncate(fd, 0) != 0)
        return nullptr;
    if (mode == Mode::Continue && !file->seek(file->size()))
        return nullptr;
    return file;
}

ExclusiveFile::ExclusiveFile(int descriptor, std::unique_ptr<PathClaim> claim)
    : m_descriptor(descriptor)
    , m_claim(std::move(claim))
{}

ExclusiveFile::~ExclusiveFile()
{
    close();
}

std::int64_t ExclusiveFile::size() const
{
    struct stat status
    {};
    if (m_descriptor < 0 || ::fstat(m_descriptor, &status) != 0)
        return -1;
    return status.st_size;
}

bool ExclusiveFile::seek(std::int64_t offset)
{
    return m_descriptor >= 0 && offset >= 0 && ::lseek(m_descriptor, offset, SEEK_SET) == offset;
}

bool ExclusiveFile::writeAll(const char* data, std::int64_t length)
{
    if (m_descriptor < 0)
        return false;
    while (length > 0) {
        const ssize_t written = ::write(m_descriptor, data, static_cast<size_t>(length));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        length -= written;
    }
    return true;
}

std::int64_t ExclusiveFile::read(char* data, std::int64_t maxLength)
{
    if (m_descriptor < 0)
        return -1;
    for (;;) {
        const ssize_t got = ::read(m_descriptor, data, static_cast<size_t>(maxLength));
        if (got < 0 && errno == EINTR)
            continue;
        return got;
    }
}

bool ExclusiveFile::close()
{
    bool closed = true;
    if (m_descriptor >= 0) {
        closed = ::close(m_descriptor) == 0;
        m_descriptor = -1;
    }
    m_claim.reset();
    return closed;
}

} // namespace toolkit

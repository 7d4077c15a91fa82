#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace toolkit {

// A file held by one holder at a time. Within the process no two holders
// may have the same path; other processes are kept out by an advisory lock.
// Writing opens never follow a symbolic link at the final path component.
class ExclusiveFile
{
public:
    enum class Mode
    {
        Overwrite, // create, or empty an existing file; write from the start
        Continue,  // the file must exist; write after its last byte
        Read,      // read from the start, shared with other readers only
    };

    // Empty when the file cannot be opened or is held by someone else.
    static std::unique_ptr<ExclusiveFile> open(const QString& path, Mode mode);

    ~ExclusiveFile();
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;

    // The file's current length, or -1.
    std::int64_t size() const;
    // Moves the position for reads and writes.
    bool seek(std::int64_t offset);
    // The whole block or false: a file system that takes only part of it
    // (disk full, file size limit) fails the write.
    bool writeAll(const char* data, std::int64_t length);
    // Up to MaxLength bytes at the position; 0 at the end, -1 on error.
    std::int64_t read(char* data, std::int64_t maxLength);
    // Closes the file and releases it; false when the system reports an
    // error on close (data that could not be written out).
    bool close();

private:
    class PathClaim;
    ExclusiveFile(int descriptor, std::unique_ptr<PathClaim> claim);

    int m_descriptor = -1;
    std::unique_ptr<PathClaim> m_claim;
};

} // namespace toolkit

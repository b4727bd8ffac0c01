#pragma once
// Opening a picture file for reading, the platform's way: one side for
// Windows, one for everywhere else.
#include <cstdint>
#include <optional>
#include <string>

namespace image {

// What the file system tells of a file's content: two opens that see the
// same identity are taken to read the same picture.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0; // the file's number within its device
    std::int64_t size = 0;
    std::int64_t modified = 0; // in the file system's own ticks
    bool known = false;        // the file system told; an unknown identity equals none
    bool operator==(const FileIdentity& other) const
    {
        return known && other.known && device == other.device && file == other.file && size == other.size
            && modified == other.modified;
    }
};

struct OpenedFile {
    enum Outcome { Opened, Absent, Refused };
    Outcome outcome = Absent; // Absent also for a folder, or a path whose attributes cannot be read
    int error = 0;            // when Refused: the system's error code (errno, or Windows' last error)
    int descriptor = -1;      // when Opened: a C runtime descriptor, not inherited by child processes
    FileIdentity identity;
};

// path is the file name's native bytes (on Windows UTF-8 of its UTF-16).
// Never blocks on a named pipe.
OpenedFile openForReading(const std::string& path);

// The size of the regular file behind descriptor; none for anything else.
std::optional<std::int64_t> regularFileSize(int descriptor);

// Closes a descriptor that openForReading gave.
void closeFile(int descriptor);

}

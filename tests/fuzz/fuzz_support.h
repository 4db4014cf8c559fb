// Shared by the fuzz targets: invariant checks that stop the run with a
// message, and an in-memory file the readers can open by path.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/spell.h"

// Aborts (which libFuzzer reports as a crash, with the input saved) when an
// invariant does not hold.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// True when the buffer holds a terminated text of at most 259 characters.
inline bool IsTerminated(const TextField& text)
{
    return std::memchr(text.data(), '\0', text.size()) != nullptr;
}

// A file that lives in memory; fopen reaches it through /proc/self/fd.
class MemoryFile {
public:
    MemoryFile()
    {
        fd_ = ::memfd_create("rivizuzi-fuzz", 0);
        if (fd_ < 0) {
            std::perror("memfd_create");
            std::abort();
        }
        std::snprintf(path_.data(), path_.size(), "/proc/self/fd/%d", fd_);
    }
    ~MemoryFile() { ::close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Replaces the file's content with these bytes.
    void Assign(const std::uint8_t* data, std::size_t size)
    {
        FUZZ_CHECK(::ftruncate(fd_, 0) == 0);
        std::size_t done = 0;
        while (done < size) {
            ssize_t n = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            FUZZ_CHECK(n > 0);
            done += static_cast<std::size_t>(n);
        }
    }

    const char* path() const { return path_.data(); }

private:
    int fd_ = -1;
    std::array<char, 64> path_{};
};

#include "share/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

int WriteWholeFile(const char* path, std::string_view bytes, std::string& problem)
{
    // A name of its own beside the file: the rename stays on one file system.
    std::string temp = std::string(path) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    int error = 0;
    if (fd < 0) {
        error = errno;
    } else {
        // mkstemp makes the file for its owner only; a report is an ordinary
        // file, readable as the user's umask allows.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
        if (!ok) error = errno;
        if (::close(fd) != 0 && ok) {
            ok = false;
            error = errno;
        }
        if (ok && std::rename(temp.c_str(), path) != 0) {
            ok = false;
            error = errno;
        }
        if (ok) return 0;
        ::unlink(temp.c_str());
    }
    problem = "Cannot write ";
    problem += path;
    problem += ": ";
    problem += std::strerror(error != 0 ? error : EIO);
    problem += '.';
    return -1;
}

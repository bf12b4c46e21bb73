// A shim, preloaded into a program under test, that makes the journal's
// disk fill up at a chosen commit: TAVIR340_FAIL_PATH names the journal (a
// SQLite file in WAL mode), and TAVIR340_FAIL_COMMIT=N fails the write that
// would commit the N-th transaction, and every write to the journal's files
// after it, with ENOSPC. A commit is seen as SQLite writes it: the header of
// a WAL frame that carries the database's size. TAVIR340_FAIL_COUNT, when
// set, is a file the shim writes the number of commits it saw to at exit,
// so that a test knows how many points there are to fail.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace {

std::atomic<long> seen = 0;
std::atomic<bool> full = false;

bool isJournal(int fd)
{
    const char *path = std::getenv("TAVIR340_FAIL_PATH");
    if (!path || !*path)
        return false;
    char link[64];
    char target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return false;
    target[n] = 0;
    return std::strncmp(target, path, std::strlen(path)) == 0 && !std::strstr(target, "-shm");
}

// A WAL frame's header whose second word, the database's size in pages,
// is set: the frame that commits a transaction.
bool isCommit(const void *buf, size_t count)
{
    const auto *bytes = static_cast<const unsigned char *>(buf);
    return count == 24 && (bytes[4] | bytes[5] | bytes[6] | bytes[7]) != 0;
}

// Whether this write to the journal is to fail.
bool failing(int fd, const void *buf, size_t count)
{
    if (!isJournal(fd))
        return false;
    if (!full && isCommit(buf, count)) {
        const long n = ++seen;
        const char *at = std::getenv("TAVIR340_FAIL_COMMIT");
        full = at && *at && n >= std::atol(at);
    }
    if (full)
        errno = ENOSPC;
    return full;
}

template <typename Function>
Function next(const char *name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

struct Report
{
    ~Report()
    {
        const char *file = std::getenv("TAVIR340_FAIL_COUNT");
        if (std::FILE *out = file && *file ? std::fopen(file, "w") : nullptr) {
            std::fprintf(out, "%ld\n", seen.load());
            std::fclose(out);
        }
    }
} report;

} // namespace

extern "C" {

ssize_t write(int fd, const void *buf, size_t count)
{
    static const auto real = next<ssize_t (*)(int, const void *, size_t)>("write");
    return failing(fd, buf, count) ? -1 : real(fd, buf, count);
}

ssize_t pwrite(int fd, const void *buf, size_t count, off_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void *, size_t, off_t)>("pwrite");
    return failing(fd, buf, count) ? -1 : real(fd, buf, count, offset);
}

ssize_t pwrite64(int fd, const void *buf, size_t count, off64_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void *, size_t, off64_t)>("pwrite64");
    return failing(fd, buf, count) ? -1 : real(fd, buf, count, offset);
}

}

// Preloaded into a program under test (LD_PRELOAD): reading standard input
// fails with EIO once KEVRA_TEST_READFAIL_AFTER bytes have been read from it,
// as a failing disk or device would part-way through a job.
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern "C" ssize_t read(int fd, void* buf, size_t n) {
    using readfn = ssize_t (*)(int, void*, size_t);
    static const readfn real = reinterpret_cast<readfn>(dlsym(RTLD_NEXT, "read"));
    static long left = [] {
        const char* v = std::getenv("KEVRA_TEST_READFAIL_AFTER");
        return v != nullptr ? std::atol(v) : -1L;
    }();
    if (fd != 0 || left < 0) return real(fd, buf, n);
    if (left == 0) {
        errno = EIO;
        return -1;
    }
    if (n > static_cast<size_t>(left)) n = static_cast<size_t>(left);
    const ssize_t got = real(fd, buf, n);
    if (got > 0) left -= got;
    return got;
}

// Loaded with LD_PRELOAD by the read-fault tests: the N-th pread of the process fails with
// EIO (KALMET_FAIL_READ=N), as a failing disk would make it; KALMET_COUNT_READS names a
// file that receives the number of preads when the process ends. Only SQLite reads its
// files with pread, so only its reads are counted.

#include <dlfcn.h>
#include <sys/types.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

long calls = 0;

bool failing() {
    static const long fail = [] {
        const char* wanted = std::getenv("KALMET_FAIL_READ");
        return wanted ? std::atol(wanted) : 0L;
    }();
    return ++calls == fail;
}

using Pread = ssize_t (*)(int, void*, size_t, off_t);

__attribute__((destructor)) void tell() {
    if (const char* count = std::getenv("KALMET_COUNT_READS")) {
        if (FILE* out = std::fopen(count, "w")) {
            std::fprintf(out, "%ld\n", calls);
            std::fclose(out);
        }
    }
}

}  // namespace

extern "C" ssize_t pread64(int fd, void* buffer, size_t size, off_t offset) {
    static const auto real = reinterpret_cast<Pread>(dlsym(RTLD_NEXT, "pread64"));
    if (failing()) {
        errno = EIO;
        return -1;
    }
    return real(fd, buffer, size, offset);
}

extern "C" ssize_t pread(int fd, void* buffer, size_t size, off_t offset) {
    return pread64(fd, buffer, size, offset);
}

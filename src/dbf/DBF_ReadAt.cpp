#include "dbf/DBF_ReadAt.h"

#include <cerrno>

#include <unistd.h>

int64_t ReadAt(const TFile& file, int64_t offset, void* bytes, int64_t count) {
    if (!file.IsOpen() || offset < 0 || count < 0) return -1;
    auto* at = static_cast<char*>(bytes);
    int64_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(file.Handle, at + done, size_t(count - done), off_t(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return done > 0 ? done : -1;
        if (got == 0) break;  // end of file
        done += got;
    }
    return done;
}

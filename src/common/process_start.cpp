// PrepareProcess: the null device on closed standard descriptors, then the interrupt handlers.
#include "common/process_start.h"

#include "common/part_files.h"

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace moza {

void PrepareProcess() {
#ifndef _WIN32
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free number is this one, as every lower one is open by now.
        const int opened = ::open("/dev/null", O_RDWR);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
#endif
    RemovePartFilesOnInterrupt();
}

}  // namespace moza

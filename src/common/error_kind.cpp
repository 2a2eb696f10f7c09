// KindOfSystemError: error numbers sorted into the reasons a user can act on.
#include "common/error_kind.h"

#include <cerrno>

namespace moza {

ErrorKind KindOfSystemError(int error) {
    switch (error) {
    case ENOENT: return ErrorKind::FileMissing;
    case ENOTDIR: return ErrorKind::NotAFolder;
    case EISDIR: return ErrorKind::IsAFolder;
    case EACCES:
    case EPERM: return ErrorKind::PermissionDenied;
    case EROFS: return ErrorKind::ReadOnly;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return ErrorKind::DiskFull;
    case ENAMETOOLONG: return ErrorKind::NameTooLong;
    default: return ErrorKind::SystemError;
    }
}

}  // namespace moza

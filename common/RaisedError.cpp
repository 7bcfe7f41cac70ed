#include "common/RaisedError.h"

#include <cerrno>

namespace korvalin {

std::string ErrorDescription(int32_t number) {
  switch (number) {
    case errnum::InvalidArgument: return "Invalid procedure call or argument";
    case errnum::Overflow: return "Overflow";
    case errnum::OutOfMemory: return "Out of memory";
    case errnum::SubscriptOutOfRange: return "Subscript out of range";
    case errnum::DivisionByZero: return "Division by zero";
    case errnum::TypeMismatch: return "Type mismatch";
    case errnum::BadFileName: return "Bad file name or number";
    case errnum::FileNotFound: return "File not found";
    case errnum::FileAlreadyOpen: return "File already open";
    case errnum::DeviceIoError: return "Device I/O error";
    case errnum::FileAlreadyExists: return "File already exists";
    case errnum::DiskFull: return "Disk full";
    case errnum::TooManyFiles: return "Too many files";
    case errnum::PermissionDenied: return "Permission denied";
    case errnum::PathFileAccessError: return "Path/File access error";
    case errnum::PathNotFound: return "Path not found";
    case errnum::InvalidPropertyValue: return "Invalid property value";
    default: return {};
  }
}

RaisedError ErrorFromErrno(int err, std::string source) {
  int32_t number = errnum::PathFileAccessError;
  switch (err) {
    case ENOENT: number = errnum::FileNotFound; break;
    case ENOTDIR: number = errnum::PathNotFound; break;
    case EACCES:
    case EPERM:
    case EWOULDBLOCK:
    case ETXTBSY: number = errnum::PermissionDenied; break;
    case ENOSPC:
    case EDQUOT: number = errnum::DiskFull; break;
    case EMFILE:
    case ENFILE: number = errnum::TooManyFiles; break;
    case ENAMETOOLONG: number = errnum::BadFileName; break;
    case EEXIST: number = errnum::FileAlreadyExists; break;
    case EIO: number = errnum::DeviceIoError; break;
    case ENOMEM: number = errnum::OutOfMemory; break;
    default: break;  // EISDIR, EROFS, EBUSY and the rest: the path cannot be used that way
  }
  return RaisedError::Of(number, std::move(source));
}

}  // namespace korvalin

#include "platform/Status.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace platform {

const char* ErrorCodeName(ErrorCode code) {
  switch (code) {
    case ErrorCode::None:
      return "success";
    case ErrorCode::NotFound:
      return "not found";
    case ErrorCode::PathNotFound:
      return "path not found";
    case ErrorCode::AccessDenied:
      return "access denied";
    case ErrorCode::AlreadyExists:
      return "already exists";
    case ErrorCode::NotEmpty:
      return "not empty";
    case ErrorCode::InvalidName:
      return "invalid name";
    case ErrorCode::DiskFull:
      return "disk full";
    case ErrorCode::BadFormat:
      return "bad format";
    case ErrorCode::IoError:
      return "input/output error";
  }
  return "unknown error";
}

ErrorCode ErrorCodeFromErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return ErrorCode::AccessDenied;
    case ENOENT:
      return ErrorCode::NotFound;
    case ENOTDIR:
      return ErrorCode::PathNotFound;
    case EEXIST:
      return ErrorCode::AlreadyExists;
    case ENOTEMPTY:
      return ErrorCode::NotEmpty;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return ErrorCode::DiskFull;
    case EINVAL:
    case ENAMETOOLONG:
      return ErrorCode::InvalidName;
    default:
      return ErrorCode::IoError;
  }
}

void FailedResultRead(const Status& status) {
  std::fprintf(stderr, "The value of a failed result was read; the result says: %s\n",
               status.ok() ? "(nothing: it was made from a success)" : status.message().c_str());
  std::abort();
}

}  // namespace platform

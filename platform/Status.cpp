#include "platform/Status.h"

namespace platform {

const char* ErrorCodeName(ErrorCode code) {
  switch (code) {
    case ErrorCode::None: return "success";
    case ErrorCode::NotFound: return "not found";
    case ErrorCode::PathNotFound: return "path not found";
    case ErrorCode::AccessDenied: return "access denied";
    case ErrorCode::AlreadyExists: return "already exists";
    case ErrorCode::NotEmpty: return "not empty";
    case ErrorCode::InvalidName: return "invalid name";
    case ErrorCode::DiskFull: return "disk full";
    case ErrorCode::BadFormat: return "bad format";
    case ErrorCode::IoError: return "input/output error";
  }
  return "unknown error";
}

}  // namespace platform

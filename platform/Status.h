#pragma once

// The outcome of a platform call: success, or a reason a person can read.
// Nothing in platform/ throws; every call that can fail returns one of these.
// Both are [[nodiscard]]: an outcome nobody looks at is a failure nobody hears of. Where
// ignoring one is right, the caller says why and discards it with static_cast<void>.

#include <optional>
#include <string>
#include <utility>

namespace platform {

enum class ErrorCode {
  None,
  NotFound,      // the file, folder, key or value does not exist
  PathNotFound,  // a folder on the way does not exist
  AccessDenied,  // read-only, permissions, or the registry is owned by a running Wine server
  AlreadyExists,
  NotEmpty,
  InvalidName,  // a character Windows forbids, or a malformed path
  DiskFull,
  BadFormat,  // a file we refuse to rewrite because we do not understand it
  IoError,    // any other system error
};

// Short English name of a code, e.g. "access denied".
const char* ErrorCodeName(ErrorCode code);

// The error code for a system error number: EACCES, EPERM, EROFS -> AccessDenied; ENOENT ->
// NotFound; ENOTDIR -> PathNotFound; EEXIST -> AlreadyExists; ENOTEMPTY -> NotEmpty; ENOSPC,
// EDQUOT, EFBIG -> DiskFull; EINVAL, ENAMETOOLONG -> InvalidName; anything else IoError.
ErrorCode ErrorCodeFromErrno(int error);

class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(ErrorCode code, std::string message) : code_(code), message_(std::move(message)) {}

  static Status Ok() { return {}; }

  bool ok() const { return code_ == ErrorCode::None; }
  explicit operator bool() const { return ok(); }
  ErrorCode code() const { return code_; }
  // Empty for success; otherwise a sentence naming what failed and why.
  const std::string& message() const { return message_; }

 private:
  ErrorCode code_ = ErrorCode::None;
  std::string message_;
};

// Reading the value of a failed Result is a mistake of the program, not a failure of the
// machine: it ends the program at once with the Result's reason on standard error.
[[noreturn]] void FailedResultRead(const Status& status);

// A value or the reason there is none.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}          // NOLINT: implicit by design
  Result(Status status) : status_(std::move(status)) {}  // NOLINT: implicit by design

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  const Status& status() const { return status_; }
  const T& value() const& { return Checked(); }
  T& value() & { return Checked(); }
  T&& value() && { return std::move(Checked()); }
  const T* operator->() const { return &Checked(); }
  T* operator->() { return &Checked(); }
  const T& operator*() const { return Checked(); }

 private:
  const T& Checked() const {
    if (!value_) FailedResultRead(status_);
    return *value_;
  }
  T& Checked() { return const_cast<T&>(std::as_const(*this).Checked()); }

  std::optional<T> value_;
  Status status_;
};

}  // namespace platform

// A hive file's changes kept in memory (Writes::KeptInOverlay): each is checked as saving it
// would be, applied to the cached hive, and never written. No lock is taken, since nothing
// on disk changes, and nothing of another process's is waited for.

#include "platform/ChangeRules.h"
#include "platform/ReplacementFile.h"
#include "platform/WineServer.h"
#include "platform/hive/HiveFile.h"

namespace platform {

Status HiveFile::KeepChange(const std::function<Result<bool>(Hive&)>& change) {
  if (Status s = RefuseWhileWineServerRuns(prefixDir_); !s) return s;
  const std::string target = WriteTarget(path_);
  if (Status s = file_internals::MaySaveHive(file_internals::TheDisk(), prefixDir_, target); !s) {
    return s;
  }
  if (Status s = LoadIfChanged(); !s) return s;
  if (!hive_->writable()) {
    return {ErrorCode::BadFormat,
            "the registry file " + path_ +
                " is not in a form this program can safely rewrite: " + hive_->refusal()};
  }
  // A change that fails may have done part of its work: the hive goes back to what it was,
  // which only the kept text knows once the overlay holds changes of its own.
  const std::string before = kept_ ? hive_->Render() : std::string();
  Result<bool> changed = change(*hive_);
  Status status = changed ? Status::Ok() : changed.status();
  if (status && changed.value()) {
    status = file_internals::MayWriteHive(target, static_cast<off_t>(hive_->Render().size()));
  }
  if (!status) {
    if (kept_) {
      hive_ = std::make_unique<Hive>(Hive::Parse(before));
    } else {
      Forget();
    }
    return status;
  }
  if (changed.value()) kept_ = true;
  return Status::Ok();
}

}  // namespace platform

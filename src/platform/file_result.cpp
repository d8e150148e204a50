#include "platform/file_result.h"

#include <cerrno>
#include <cstring>

namespace tsy {

std::string FileResult::Reason() const {
  return status == FileStatus::kNotRegular ? "not a regular file" : std::strerror(error);
}

FileResult FileFailure(FileStatus status) { return {status, errno ? errno : EIO}; }

}  // namespace tsy

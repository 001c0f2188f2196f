#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_read.h"

namespace lx47::platform {

namespace {

int CauseOf(int err) {
  switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS: return 5;
    case ETXTBSY: return 7;
    default: return 1;
  }
}

}  // namespace

FileReadResult ReadWholeFile(const std::string& path, std::uint64_t maxSize, std::vector<std::uint8_t>& out) {
  FileReadResult r;
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    r.stage = FileReadResult::Stage::Open;
    r.error = static_cast<std::uint32_t>(err);
    r.notFound = err == ENOENT;
    r.cause = CauseOf(err);
    return r;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    r.stage = FileReadResult::Stage::Read;
    r.error = static_cast<std::uint32_t>(errno);
    ::close(fd);
    return r;
  }
  r.size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  if (r.size > maxSize) {
    r.stage = FileReadResult::Stage::TooLarge;
    ::close(fd);
    return r;
  }
  if (S_ISDIR(st.st_mode)) {
    // A directory opens but has no bytes to read; the read says why.
    std::uint8_t probe = 0;
    const ssize_t n = ::read(fd, &probe, 1);
    r.stage = FileReadResult::Stage::Read;
    r.error = static_cast<std::uint32_t>(n < 0 ? errno : EISDIR);
    ::close(fd);
    return r;
  }
  out.assign(static_cast<std::size_t>(r.size), 0);
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      r.stage = FileReadResult::Stage::Read;
      r.error = static_cast<std::uint32_t>(n < 0 ? errno : EIO);  // EIO: the file ended early
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return r;
}

}  // namespace lx47::platform

#include "platform/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/locale_text.h"

namespace bm::platform {

namespace {

zelta::HRESULT ResultOfErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return zelta::E_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
      return zelta::E_ACCESS_DENIED;
    case ENOMEM:
      return zelta::E_OUTOFMEMORY;
    default:
      return zelta::E_FAIL;
  }
}

class FileCloser {
 public:
  explicit FileCloser(int fd) : fd_(fd) {}
  ~FileCloser() { close(fd_); }
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;

 private:
  int fd_;
};

}  // namespace

zelta::HRESULT ReadFileBytes(std::u16string_view path, size_t maxBytes, std::string* bytes,
                             std::u16string* why) {
  const std::string name = Utf16ToUtf8(path);
  const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    *why = Utf8ToUtf16(std::strerror(error));
    return ResultOfErrno(error);
  }
  FileCloser closer(fd);
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    const int error = errno;
    *why = Utf8ToUtf16(std::strerror(error));
    return ResultOfErrno(error);
  }
  if (S_ISDIR(info.st_mode)) {
    *why = u"it is a folder, not a file";
    return zelta::E_INVALIDARG;
  }
  const auto tooLarge = [&] {
    *why = u"the file is larger than " + Utf8ToUtf16(std::to_string(maxBytes >> 20)) +
           u" MiB, the most a bookmark text file may hold";
    return zelta::E_INVALIDARG;
  };
  if (S_ISREG(info.st_mode) && static_cast<uint64_t>(info.st_size) > maxBytes) return tooLarge();
  // Read until the end rather than trust the size: a pipe or a growing file has none.
  std::string data;
  if (S_ISREG(info.st_mode)) data.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  while (true) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      *why = Utf8ToUtf16(std::strerror(error));
      return ResultOfErrno(error);
    }
    if (data.size() + static_cast<size_t>(got) > maxBytes) return tooLarge();
    data.append(buffer, static_cast<size_t>(got));
  }
  *bytes = std::move(data);
  return zelta::S_OK;
}

}  // namespace bm::platform

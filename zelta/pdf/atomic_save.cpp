#include "zelta/pdf/atomic_save.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace zelta::pdf {
namespace {

HRESULT FromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return E_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
      return E_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return E_DISK_FULL;
    default:
      return E_FAIL;
  }
}

HRESULT Fail(const std::string& path, const std::string& what, int error, std::string* message) {
  *message = path + ": " + what + ": " + std::strerror(error);
  return FromErrno(error);
}

// Flushes a folder to disk.
int Sync(const std::string& path, int flags) {
  int fd = open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return errno;
  int result = fsync(fd) == 0 ? 0 : errno;
  close(fd);
  return result;
}

// Temporary files are named ".<target>.zelta-<pid>.XXXXXX": the marker tells them from other
// hidden files, and the process id tells whether their writer still runs.
constexpr std::string_view kTempMarker = ".zelta-";

// The writer's process id of a temporary file name, or 0 when the name is not one of ours.
pid_t TempWriter(std::string_view name) {
  if (name.empty() || name.front() != '.') return 0;
  const size_t marker = name.rfind(kTempMarker);
  if (marker == std::string_view::npos) return 0;
  const std::string_view rest = name.substr(marker + kTempMarker.size());
  const size_t dot = rest.find('.');
  if (dot == 0 || dot == std::string_view::npos || rest.size() - dot - 1 != 6) return 0;
  pid_t pid = 0;
  for (char c : rest.substr(0, dot)) {
    if (c < '0' || c > '9' || pid > 100000000) return 0;
    pid = pid * 10 + (c - '0');
  }
  return pid;
}

}  // namespace

void RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  const uid_t me = geteuid();
  while (dirent* entry = readdir(dir)) {
    const pid_t pid = TempWriter(entry->d_name);
    // Another process's temporary file stays while its writer runs (it may be saving now).
    if (pid <= 0 || pid == getpid() || kill(pid, 0) == 0 || errno != ESRCH) continue;
    struct stat info {};
    if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(info.st_mode) && info.st_uid == me) unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

HRESULT SaveAtomically(MuCalls& mu, const std::string& path, std::string* error) {
  if (path.empty()) {
    *error = "no output file name given";
    return E_INVALIDARG;
  }
  struct stat target {};
  bool exists = stat(path.c_str(), &target) == 0;
  if (exists && !S_ISREG(target.st_mode)) {
    *error = path + ": cannot save over something that is not a regular file";
    return E_ACCESS_DENIED;
  }
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  struct stat folderInfo {};
  if (stat(folder.c_str(), &folderInfo) != 0)
    return Fail(path, "cannot save into folder " + folder, errno, error);
  if (!S_ISDIR(folderInfo.st_mode)) return Fail(path, "cannot save into " + folder, ENOTDIR, error);

  RemoveStaleTemporaries(folder);
  std::string temp =
      folder + "/." + base + std::string(kTempMarker) + std::to_string(getpid()) + ".XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return Fail(path, "cannot create a temporary file in " + folder, errno, error);
  temp.assign(name.data());
  // The new file gets the old file's permissions, or the usual ones for a new file.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, exists ? (target.st_mode & 07777) : (0666 & ~mask));

  pdf_write_options options = pdf_default_write_options;
  options.do_encrypt = PDF_ENCRYPT_KEEP;
  options.do_garbage = 0;  // collecting garbage would renumber objects the open outline uses
  options.do_incremental = 0;
  int writeError = 0;
  HRESULT hr = mu.Write(fd, &options, &writeError);
  if (Failed(hr)) {
    close(fd);
    unlink(temp.c_str());
    *error = path + ": cannot write the document: " + mu.Context().LastError();
    if (hr != E_OUTOFMEMORY && writeError != 0 && FromErrno(writeError) != E_FAIL)
      hr = FromErrno(writeError);
    return hr;
  }
  const int syncError = fsync(fd) == 0 ? 0 : errno;
  const int closeError = close(fd) == 0 ? 0 : errno;
  if (syncError || closeError) {
    unlink(temp.c_str());
    return Fail(path, "cannot flush the written document to disk",
                syncError ? syncError : closeError, error);
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    int renameError = errno;
    unlink(temp.c_str());
    return Fail(path, "cannot move the written document into place", renameError, error);
  }
  Sync(folder, O_RDONLY | O_DIRECTORY);  // the rename is durable once the folder is flushed
  return S_OK;
}

}  // namespace zelta::pdf

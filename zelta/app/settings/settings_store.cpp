#include "zelta/app/settings/settings_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>

#include "host/call_guard.h"
#include "zelta/app/cab/json_text.h"

namespace zelta::app {
namespace {

namespace fs = std::filesystem;

// A settings file this large is not ours; it is treated like a damaged one.
constexpr off_t kMaxSettingsBytes = 64 << 20;

HRESULT FromErrno(int error) {
  switch (error) {
    case ENOENT:
      return E_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
      return E_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT:
      return E_DISK_FULL;
    default:
      return E_FAIL;
  }
}

std::string Describe(const std::string& what, const std::string& path, int error) {
  return what + " " + path + ": " + std::strerror(error);
}

// Reads the whole file; errno-style code on failure (ENOENT when missing, EFBIG when huge,
// EINVAL when not a regular file).
int ReadFile(const std::string& path, std::string* bytes) {
  // Non-blocking, so that a FIFO put in the file's place cannot hang the program.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
    ::close(fd);
    return error ? error : EINVAL;
  }
  if (info.st_size > kMaxSettingsBytes) {
    ::close(fd);
    return EFBIG;
  }
  bytes->resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  while (done < bytes->size()) {
    ssize_t got = ::read(fd, bytes->data() + done, bytes->size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      int error = errno;
      ::close(fd);
      return error;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  bytes->resize(done);
  ::close(fd);
  return 0;
}

// Writes bytes to a temporary file beside path, flushes it to disk and renames it into place.
int WriteAtomically(const std::string& path, const std::string& bytes) {
  std::string temp = path + ".tmp-XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return errno;
  struct stat old {};
  mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0600;
  int error = ::fchmod(fd, mode) == 0 ? 0 : errno;
  size_t done = 0;
  while (!error && done < bytes.size()) {
    ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0)
      error = errno;
    else
      done += static_cast<size_t>(wrote);
  }
  if (!error && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error) {
    ::unlink(temp.c_str());
    return error;
  }
  // Make the rename itself durable; a failure here loses nothing, so it is not reported.
  std::string folder = fs::path(path).parent_path().string();
  int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return 0;
}

}  // namespace

SettingsStore::SettingsStore(std::string path)
    : path_(path.empty() ? DefaultPath() : std::move(path)) {}

std::string SettingsStore::DefaultPath() {
  // Relative values of the variables are ignored, as the base-directory rules ask.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return (fs::path(config) / "zelta" / "settings.json").string();
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') {
    const passwd* user = ::getpwuid(::getuid());
    home = user && user->pw_dir && user->pw_dir[0] == '/' ? user->pw_dir : nullptr;
  }
  fs::path base = home ? fs::path(home) / ".config" : fs::path(".config");
  return (base / "zelta" / "settings.json").string();
}

HRESULT SettingsStore::Load(std::string* warning) {
  return GuardCall([&]() -> HRESULT {
    nodes_.clear();
    document_ = nlohmann::json::object();
    documentOnDisk_ = false;
    std::string bytes;
    int error = ReadFile(path_, &bytes);
    if (error == ENOENT) return S_OK;
    if (error && error != EFBIG) {
      if (warning)
        *warning = error == EINVAL ? "the settings file " + path_ + " is not a regular file"
                                   : Describe("cannot read the settings file", path_, error);
      return FromErrno(error);
    }
    nlohmann::json parsed;
    std::string syntax;  // where the text stops being JSON
    const bool valid = !error && ParseJsonText(bytes, &parsed, &syntax);
    if (valid && parsed.is_object()) {
      document_ = std::move(parsed);
      documentOnDisk_ = true;
      return S_OK;
    }
    // Damaged: keep a copy for the user before anything can overwrite the file.
    std::string kept = path_ + ".bad";
    std::error_code copyError;
    fs::copy_file(path_, kept, fs::copy_options::overwrite_existing, copyError);
    std::string why = error == EFBIG ? "is larger than 64 MiB"
                      : !valid       ? "is " + syntax
                                     : "does not hold a JSON object";
    if (copyError) {
      if (warning)
        *warning = "the settings file " + path_ + " " + why + ", and it could not be kept as " +
                   kept + ": " + copyError.message();
      return E_FAIL;
    }
    if (warning)
      *warning = "the settings file " + path_ + " " + why + "; it was kept as " + kept +
                 " and defaults are used";
    return S_OK;
  });
}

nlohmann::json SettingsStore::Document() const {
  nlohmann::json out = document_;
  for (const auto& [key, node] : nodes_) out[key] = node->ToJson();
  return out;
}

HRESULT SettingsStore::Save(std::string* error) {
  return GuardCall([&]() -> HRESULT {
    nlohmann::json document = Document();
    // The same values again: rewriting them would only cost two flushes to disk.
    if (documentOnDisk_ && document == document_) return S_OK;
    std::string bytes =
        document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    fs::path folder = fs::path(path_).parent_path();
    std::error_code folderError;
    if (!folder.empty()) fs::create_directories(folder, folderError);
    if (folderError) {
      if (error)
        *error =
            "cannot create the settings folder " + folder.string() + ": " + folderError.message();
      return FromErrno(folderError.value());
    }
    int failure = WriteAtomically(path_, bytes);
    if (failure) {
      if (error) *error = Describe("cannot write the settings file", path_, failure);
      return FromErrno(failure);
    }
    document_ = std::move(document);
    documentOnDisk_ = true;
    return S_OK;
  });
}

HostSettings* SettingsStore::NodeOf(const std::string& key) {
  auto found = nodes_.find(key);
  if (found != nodes_.end()) return found->second.Get();
  auto stored = document_.find(key);
  nlohmann::json initial = stored != document_.end() ? *stored : nlohmann::json::object();
  auto node = MakeCom<HostSettings>(key, std::move(initial));
  return nodes_.emplace(key, std::move(node)).first->second.Get();
}

ComPtr<IHostSettings> SettingsStore::Node(const std::string& key) {
  try {
    return ComPtr<IHostSettings>(NodeOf(key));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::vector<std::string> SettingsStore::TakeWarnings() {
  std::vector<std::string> all;
  for (auto& [key, node] : nodes_)
    for (std::string& warning : node->TakeWarnings()) all.push_back(std::move(warning));
  return all;
}

}  // namespace zelta::app

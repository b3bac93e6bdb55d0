#include "zelta/cli/file_checks.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "zelta/cli/session.h"

namespace zelta::cli {

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool CheckOutputPath(const std::string& output, const std::string& input, bool overwriteInput) {
  std::error_code ec;
  auto folder = std::filesystem::absolute(output, ec).parent_path();
  if (ec || !std::filesystem::is_directory(folder, ec)) {
    PrintError("cannot write " + output + ": folder " + folder.string() + " does not exist");
    return false;
  }
  if (!overwriteInput && SameFile(input, output)) {
    PrintError("-o " + output + " is the input file " + input +
               "; give another output file, or --overwrite-input to replace the input");
    return false;
  }
  return true;
}

bool ReadBoundedFile(const std::string& path, std::uintmax_t maxBytes, const std::string& what,
                     std::string* text) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    PrintError(path + ": the " + what + " is a folder, not a file");
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    PrintError("cannot read " + what + " " + path);
    return false;
  }
  // One byte past the bound is enough to know the file is too big; no more is read.
  text->resize(maxBytes + 1);
  in.read(text->data(), static_cast<std::streamsize>(text->size()));
  text->resize(static_cast<size_t>(in.gcount()));
  if (text->size() > maxBytes) {
    PrintError(path + ": the " + what + " is larger than " + std::to_string(maxBytes >> 20) +
               " MiB, the most allowed");
    return false;
  }
  if (in.bad()) {
    PrintError("cannot read " + what + " " + path);
    return false;
  }
  return true;
}

}  // namespace zelta::cli

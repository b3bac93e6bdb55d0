// Checks the commands that read a file and write a PDF share.
#pragma once

#include <cstdint>
#include <string>

namespace zelta::cli {

// Whether two paths name the same file (device and inode), symbolic links followed.
bool SameFile(const std::string& a, const std::string& b);

// Whether -o can be written: its folder exists, and it is not the input unless
// overwriteInput. Prints why not.
bool CheckOutputPath(const std::string& output, const std::string& input, bool overwriteInput);

// Reads a file whole, refusing one larger than maxBytes; `what` names it in messages ("options
// file"). Prints why and returns false on failure.
bool ReadBoundedFile(const std::string& path, std::uintmax_t maxBytes, const std::string& what,
                     std::string* text);

}  // namespace zelta::cli

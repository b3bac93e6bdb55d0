// Shared helpers of the document-model tests: a scratch folder, opening files, reading
// outlines back, and running command-line tools.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/fixtures/pdf_builder.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/outline/host_bookmark.h"
#include "zelta/pdf/outline/outline_dump.h"

namespace zelta::pdf::testing {

// A fresh folder per test, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    char name[] = "/tmp/zelta-pdf-test-XXXXXX";
    path_ = mkdtemp(name);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  const std::string& Path() const { return path_; }
  std::string Write(const std::string& name, const std::string& bytes) const {
    zelta::testing::WriteFile(File(name), bytes);
    return File(name);
  }
  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
  }

 private:
  std::string path_;
};

inline ComPtr<HostDocument> MustOpen(const std::string& path, const std::string& password = "") {
  ComPtr<HostDocument> doc;
  std::string error;
  HRESULT hr = OpenDocument(path, password, &doc, &error);
  EXPECT_EQ(hr, S_OK) << error;
  return doc;
}

inline ComPtr<IHostBookmark> Root(IHostDocument* doc) {
  ComPtr<IHostBookmark> root;
  doc->GetOutlineRoot(root.Put());
  return root;
}

// The n-th child (0-based) of a bookmark.
inline ComPtr<IHostBookmark> Child(IHostBookmark* parent, int n) {
  ComPtr<IHostBookmark> child;
  parent->GetFirstChild(child.Put());
  for (int i = 0; i < n && child; ++i) {
    ComPtr<IHostBookmark> next;
    child->GetNextSibling(next.Put());
    child = next;
  }
  return child;
}

inline std::u16string Title(IHostBookmark* bookmark) {
  OwnedString title;
  bookmark->GetTitle(title.Put());
  return title.Str();
}

// Runs a shell command; returns its exit status and fills *output with stdout.
inline int RunCommand(const std::string& command, std::string* output = nullptr) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  int status = pclose(pipe);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// qpdf finds nothing wrong with the file.
inline void ExpectQpdfClean(const std::string& file) {
  std::string output;
  EXPECT_EQ(RunCommand("qpdf --check '" + file + "' 2>&1", &output), 0) << output;
}

// Saves the document to `path`; false, with the reason reported, when that fails.
inline bool SaveOk(HostDocument* doc, const std::string& path) {
  std::string error;
  HRESULT hr = doc->Save(path, &error);
  EXPECT_EQ(hr, S_OK) << error;
  return hr == S_OK;
}

inline std::string SaveAndDump(HostDocument* doc, const std::string& path) {
  if (!SaveOk(doc, path)) return std::string();
  auto reread = MustOpen(path);
  return reread ? OutlineToJson(reread.Get()) : std::string();
}

}  // namespace zelta::pdf::testing

// What a saved PDF shows to other programs: a command's output, and the pages its links lead
// to as MuPDF resolves them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/fixtures/pdf_builder.h"

extern "C" {
#include <mupdf/fitz.h>
}

namespace bm::testing {

// Runs a shell command and gives its standard output.
inline std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

// The F1 of (title, page) pairs of two outlines given as rows (level, title, page, ...), section
// numbers stripped, as scripts/score-outline counts them; -1 when the script fails.
inline double OutlineF1(const nlohmann::json& truth, const nlohmann::json& made,
                        const std::string& name) {
  const std::string truthFile = ::testing::TempDir() + name + "-truth.json",
                    madeFile = ::testing::TempDir() + name + "-made.json";
  zelta::testing::WriteFile(truthFile, truth.dump());
  zelta::testing::WriteFile(madeFile, made.dump());
  const std::string out =
      Output("/usr/bin/python3 " ZELTA_SOURCE_DIR "/scripts/score-outline --strip-numbers --json " +
             truthFile + " " + madeFile);
  const auto result = nlohmann::json::parse(out, nullptr, false);
  if (result.is_discarded() || !result.contains("pairs")) {
    ADD_FAILURE() << "unexpected scoring output: " << out;
    return -1;
  }
  const auto& pairs = result["pairs"];
  return 2 * pairs["matched"].get<double>() /
         std::max(1.0, pairs["reference"].get<double>() + pairs["candidate"].get<double>());
}

// The target page (0-based) of every link on a page, in annotation order, as MuPDF reads them.
inline std::vector<int> LinkTargets(const std::string& path, int page) {
  std::vector<int> targets;
  fz_context* ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
  fz_document* volatile doc = nullptr;
  fz_page* volatile loaded = nullptr;
  fz_link* volatile links = nullptr;
  fz_try(ctx) {
    fz_register_document_handlers(ctx);
    doc = fz_open_document(ctx, path.c_str());
    loaded = fz_load_page(ctx, doc, page);
    links = fz_load_links(ctx, loaded);
    for (fz_link* link = links; link; link = link->next) {
      float x, y;
      targets.push_back(
          fz_page_number_from_location(ctx, doc, fz_resolve_link(ctx, doc, link->uri, &x, &y)));
    }
  }
  fz_always(ctx) {
    fz_drop_link(ctx, links);
    fz_drop_page(ctx, loaded);
    fz_drop_document(ctx, doc);
  }
  fz_catch(ctx) { ADD_FAILURE() << fz_caught_message(ctx); }
  fz_drop_context(ctx);
  return targets;
}

}  // namespace bm::testing

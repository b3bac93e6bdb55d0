// Facts about a PDF file read with qpdf, independently of zelta: page count, named
// destinations, page labels, structural soundness.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "tests/zelta/cli/cli_sandbox.h"

namespace zelta::cli_testing {

struct PdfFacts {
  bool checkPassed = false;  // `qpdf --check` exited 0 (no errors, no warnings)
  std::string checkOutput;
  int pages = -1;
  int namedDests = -1;        // names in the /Names /Dests tree plus keys of the catalog's /Dests
  nlohmann::json pageLabels;  // qpdf's "pagelabels" list
};

// password: the user password of an encrypted file, or empty.
PdfFacts ReadPdfFacts(const CliSandbox& sandbox, const std::string& path,
                      const std::string& password = "");

}  // namespace zelta::cli_testing

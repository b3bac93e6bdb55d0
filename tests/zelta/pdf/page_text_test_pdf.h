// Builds small PDFs whose pages hold raw content streams, for the page text tests: text in
// chosen fonts, sizes and colours, rotated pages, damaged streams. Fonts: /F1 Helvetica,
// /F2 "ABCDEF+Times-Bold" (a subset-tagged name), /F3 a name longer than MuPDF keeps.
#pragma once

#include <string>
#include <vector>

#include "tests/fixtures/raw_pdf.h"

namespace zelta::testing {

struct RawPage {
  std::string content;
  int rotate = 0;
};

inline constexpr const char* kLongFontName = "GHIJKL+AVeryLongFontNameThatGoesOnAndOn-BoldItalic";

inline std::string RawTextPdf(const std::vector<RawPage>& pages) {
  std::vector<std::string> objects{"<< /Type /Catalog /Pages 2 0 R >>", ""};
  objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
  objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /ABCDEF+Times-Bold >>");
  objects.push_back(std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") + kLongFontName +
                    " >>");
  std::string kids;
  for (const auto& page : pages) {
    objects.push_back("<< /Length " + std::to_string(page.content.size()) + " >>\nstream\n" +
                      page.content + "\nendstream");
    int contents = static_cast<int>(objects.size());
    objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Rotate " +
                      std::to_string(page.rotate) +
                      " /Resources << /Font << /F1 3 0 R /F2 4 0 R /F3 5 0 R >> >> /Contents " +
                      std::to_string(contents) + " 0 R >>");
    kids += std::to_string(objects.size()) + " 0 R ";
  }
  objects[1] =
      "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>";
  return RawPdf(objects);
}

// A heading in 18-point /F2 at (72, 700) and a body line in 12-point Helvetica at (72, 650)
// whose second word is blue.
inline std::string HeadingPage(const std::string& heading = "Chapter 1") {
  return "BT /F2 18 Tf 72 700 Td (" + heading +
         ") Tj ET\nBT /F1 12 Tf 1 0 0 rg 72 650 Td (Hello ) Tj 0 0 1 rg (World) Tj ET";
}

}  // namespace zelta::testing

// Extraction of one page's text from MuPDF's structured text into PageTextData. Usable from
// any thread, each with its own context and its own document handle.
#pragma once

#include <memory>
#include <string>

#include "host/com.h"
#include "zelta/pdf/text/page_text_data.h"

extern "C" {
#include <mupdf/pdf.h>
}

namespace zelta::pdf {

// The options the host extracts with: ligatures expanded, whitespace normalised to spaces,
// no images. The benchmark compares against MuPDF's own extraction with the same options.
fz_stext_options PageTextOptions();

// Fills *out with the text of `page` (zero-based). On failure returns E_FAIL or
// E_OUTOFMEMORY with MuPDF's message in *error, and *out is left empty. With
// `expectedObject` >= 0, a page whose object number differs is not read (E_FAIL).
HRESULT ExtractPageText(fz_context* ctx, pdf_document* doc, int page, PageTextData* out,
                        std::string* error, int expectedObject = -1);

// The same as a shared read-only object; null on any failure.
std::shared_ptr<const PageTextData> ExtractSharedPageText(fz_context* ctx, pdf_document* doc,
                                                          int page, int expectedObject = -1);

// Turns a structured-text page into characters (no MuPDF call made here throws). `toUser`
// maps MuPDF's page space into PDF user space; `resources` (the page's, may be null) serve to
// recover font names longer than MuPDF keeps. Throws std::bad_alloc.
void ConvertStructuredText(fz_context* ctx, fz_stext_page* text, fz_matrix toUser,
                           pdf_obj* resources, PageTextData* out);

}  // namespace zelta::pdf

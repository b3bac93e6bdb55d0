// A MuPDF stream over a file that keeps the last window of bytes it read. MuPDF's own file
// stream forgets its buffer on every seek, so reading one object after another costs a seek
// and a read call each even when they sit side by side in the file; here a seek that lands
// in the window costs nothing, and reading on takes larger pieces. Reads use pread, so the
// file position is never shared.
#pragma once

extern "C" {
#include <mupdf/pdf.h>
}

namespace zelta::pdf {

// Opens `path` for reading; throws (fz_throw) when it cannot be opened.
fz_stream* OpenFileWindow(fz_context* ctx, const char* path);

// Opens a PDF through OpenFileWindow; throws as pdf_open_document does.
pdf_document* OpenPdfThroughWindow(fz_context* ctx, const char* path);

}  // namespace zelta::pdf

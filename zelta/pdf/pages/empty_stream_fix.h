// Keeps encrypted documents sound across a save.
#pragma once

#include "host/com.h"
#include "zelta/pdf/mu_calls.h"

namespace zelta::pdf {

// MuPDF, when it keeps a document's AES encryption, writes a stream whose data is empty as no
// bytes under its old /Length, and readers then see a damaged stream. Content streams (page
// contents and form XObjects) that are empty get one space instead, which draws the same.
// Other empty streams are left alone. Does nothing for documents without encryption.
HRESULT FillEmptyContentStreams(MuCalls& mu);

}  // namespace zelta::pdf

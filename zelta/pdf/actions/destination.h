// Explicit destinations: PDF arrays [page /Fit values...] <-> PageDestination.
#pragma once

#include "host/action.h"
#include "zelta/pdf/mu_calls.h"
#include "zelta/pdf/pages/page_map.h"

namespace zelta::pdf {

// Reads a destination array. The page is a page reference of this document, or, when
// `remote` is set (GoToR, GoToE), an integer page index of the other file. False when the
// array is not a destination or its page is not found.
bool ParseDestination(MuCalls& mu, PageMap& pages, pdf_obj* array, bool remote,
                      PageDestination* dest);

// Reads a destination array as written, without checking the page: a page reference that is
// not a page of this document gives page -1, an integer page is taken as it stands. False
// when the object is not an array with at least a page.
bool ParseRawDestination(MuCalls& mu, PageMap& pages, pdf_obj* array, PageDestination* dest);

// Builds the destination array for `dest` (page reference of this document unless remote).
// E_INVALIDARG for a page outside the document, an unknown fit type or a value out of range
// (DestinationValueInRange): nothing is written that would not read back as it was given.
HRESULT BuildDestination(MuCalls& mu, PageMap& pages, const PageDestination& dest, bool remote,
                         MuObject* array);

// "XYZ", "Fit", ... for a fit type; null for an unknown one.
const char* FitTypeName(int32_t fitType);

}  // namespace zelta::pdf

// Guarded MuPDF calls. Each method wraps exactly one MuPDF call in fz_try with plain C locals
// and turns a MuPDF error into an HRESULT (message and out-of-memory state in the MuContext).
// Reads answer null, 0 or "" when the call fails, so that damaged objects read as missing;
// changes answer an HRESULT. Nothing here keeps a C++ object alive across a longjmp.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "zelta/pdf/mu_context.h"
#include "zelta/pdf/mu_object.h"

namespace zelta::pdf {

class MuCalls {
 public:
  MuCalls(MuContext& context, pdf_document* doc) : c_(context), ctx_(context.Get()), doc_(doc) {}
  void SetDocument(pdf_document* doc) { doc_ = doc; }

  fz_context* Ctx() const { return ctx_; }
  pdf_document* Doc() const { return doc_; }
  MuContext& Context() const { return c_; }

  // Reads. Returned objects are borrowed from their container.
  pdf_obj* Get(pdf_obj* dict, const char* key);
  // The same by a name constant (PDF_NAME(Title)): compared by address, not by text.
  pdf_obj* Get(pdf_obj* dict, pdf_obj* key);
  // Whether `obj` is a dictionary or refers to one; if so, the values of `keys` (name
  // constants) go to `values`, null where missing, all in one guarded call. On false (and on
  // a failure) every value is null.
  bool DictEntries(pdf_obj* obj, std::span<pdf_obj* const> keys, std::span<pdf_obj*> values);
  pdf_obj* At(pdf_obj* array, int index);
  int Len(pdf_obj* array);
  int DictLen(pdf_obj* dict);
  pdf_obj* DictKey(pdf_obj* dict, int index);
  pdf_obj* DictValue(pdf_obj* dict, int index);
  pdf_obj* Trailer();
  bool IsDict(pdf_obj* obj);
  bool IsArray(pdf_obj* obj);
  bool IsString(pdf_obj* obj);
  bool IsName(pdf_obj* obj);
  bool IsNumber(pdf_obj* obj);
  bool IsIndirect(pdf_obj* obj);
  int Num(pdf_obj* obj);
  int ToInt(pdf_obj* obj);
  double ToReal(pdf_obj* obj);
  std::string ToBytes(pdf_obj* obj);
  // The bytes of a string object without a copy: valid while the object lives ("" when it
  // is no string).
  std::string_view StringView(pdf_obj* obj);
  // The object an indirect reference names (the object itself when it is direct).
  pdf_obj* Resolve(pdf_obj* obj);
  std::string ToName(pdf_obj* obj);
  // The indirect object `num`, or null when it does not exist or cannot be read.
  MuObject Load(int num);
  // The decoded contents of a stream object ("" when it is not a stream or cannot be read).
  std::string StreamBytes(pdf_obj* stream);
  bool IsStream(pdf_obj* obj);
  int PageCount();
  pdf_obj* PageObject(int page);
  // Inherited page attribute; `key` is a PDF_NAME constant (MediaBox, CropBox, Rotate).
  pdf_obj* Inherited(pdf_obj* page, pdf_obj* key);

  // Object construction (new references).
  HRESULT NewNull(MuObject* out);
  HRESULT NewDict(MuObject* out);
  HRESULT NewArray(MuObject* out);
  HRESULT NewInt(int64_t value, MuObject* out);
  HRESULT NewReal(double value, MuObject* out);
  HRESULT NewName(const char* name, MuObject* out);
  HRESULT NewString(const std::string& bytes, MuObject* out);
  // A reference to indirect object `num`.
  HRESULT NewRef(int num, MuObject* out);
  // Makes `obj` an indirect object of the document; *ref is the reference to it.
  HRESULT AddObject(pdf_obj* obj, MuObject* ref);

  // Changes.
  HRESULT Put(pdf_obj* dict, const char* key, pdf_obj* value);
  // The same by a name constant (PDF_NAME(Title)).
  HRESULT Put(pdf_obj* dict, pdf_obj* key, pdf_obj* value);
  HRESULT Del(pdf_obj* dict, const char* key);
  HRESULT Push(pdf_obj* array, pdf_obj* value);
  HRESULT Insert(pdf_obj* array, pdf_obj* value, int index);
  HRESULT Delete(pdf_obj* array, int index);

  // Document level.
  HRESULT NeedsPassword(bool* needs);
  HRESULT Authenticate(const char* password, bool* ok);
  HRESULT HasPermission(fz_permission permission, bool* allowed);
  // Writes the document into an open file from its current position. The position is
  // counted rather than asked of the file (MuPDF wants it once per object), and what is
  // complete is handed to the kernel's writeback as the writing goes on, so that a closing
  // fsync has little left to wait for. *writeError is the errno of a failed write, else 0.
  HRESULT Write(int fd, const pdf_write_options* options, int* writeError);
  bool IsEncrypted();
  int XrefLength();
  // Gives the stream object `num` the contents " " (no filter) when its data is empty.
  HRESULT FillIfEmpty(int num, bool* filled);
  // Bounding box of the page contents, in MuPDF's page space (y down, rotation applied),
  // and the matrix from PDF user space into that space.
  HRESULT ContentsBox(int page, fz_rect* box, fz_matrix* ctm);

  // Pages and streams (mu_calls_pages.cpp).
  // A shallow copy of a dictionary or array (the values are shared).
  HRESULT CopyDict(pdf_obj* dict, MuObject* copy);
  HRESULT CopyArray(pdf_obj* array, MuObject* copy);
  // A new stream object with these bytes (stored as given, with `dict`'s entries when not
  // null); *ref refers to it.
  HRESULT AddStream(const std::string& bytes, pdf_obj* dict, MuObject* ref);
  // Replaces a stream's data; with `deflate` it is stored compressed (/FlateDecode).
  HRESULT UpdateStream(pdf_obj* ref, const std::string& bytes, bool deflate);
  // A new page object (not yet in the page tree) with an empty content stream.
  HRESULT NewPage(double width, double height, MuObject* page);
  // Puts a page object into the page tree at index `at` (the page count appends).
  HRESULT InsertPage(int at, pdf_obj* page);
  HRESULT DeletePage(int index);
  // Link annotations (indirect objects) over `rects` at the end of the page's /Annots, each
  // with /P, /NM `namePrefix` and its object number, and /Border [0 0 0]; made in one guarded
  // call. `refs` gets one reference per rectangle. On failure /Annots holds what it held and
  // `refs` is empty.
  HRESULT AddLinkAnnotations(pdf_obj* page, const std::vector<fz_rect>& rects,
                             const char* namePrefix, std::vector<MuObject>* refs);

  // Fonts (mu_calls_fonts.cpp). Fonts made here are owned by the caller (fz_drop_font).
  fz_font* NewBase14Font(const char* name);
  fz_font* NewFontFromFile(const char* path);
  // A simple, non-embedded font resource of a standard 14 font in WinAnsiEncoding.
  HRESULT AddStandardFontResource(fz_font* font, MuObject* ref);
  // The glyph of a character in the font; 0 when it has none.
  int GlyphOf(fz_font* font, int unicode);
  // One of MuPDF's built-in Unicode fonts that may have the character: candidate 0 is the
  // font of its script (Latin for characters common to all scripts), 1 to 3 the symbol and
  // mathematics fonts. Null when the build has no such font. *key names the font data.
  fz_font* NewUnicodeFont(int unicode, int candidate, const void** key);
  static constexpr int kUnicodeFontCandidates = 4;
  // Advance width of a glyph in em units.
  float Advance(fz_font* font, int glyph);
  float Ascender(fz_font* font);
  float Descender(fz_font* font);
  fz_rect FontBox(fz_font* font);
  // The glyph's outline as PDF path operators in units of 1/1000 em, filled ("f"); "" for a
  // glyph without outline (a space).
  std::string GlyphPath(fz_font* font, int glyph);

 private:
  MuContext& c_;
  fz_context* ctx_;
  pdf_document* doc_;
};

// Opens a file with MuPDF (which repairs damaged cross-reference tables on the way).
HRESULT MuOpenDocument(MuContext& context, const char* path, pdf_document** doc);

}  // namespace zelta::pdf

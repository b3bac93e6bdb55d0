// The text on a document's pages as the host extracts it, the fonts it is set in, and the
// user's text selection ("selection.text").
//
// The page text service is the application component "ZLT" (IHostApp::GetComponent("ZLT"),
// then QueryInterface for IPageTextService).
#pragma once

#include "host/com.h"

namespace zelta {

struct IHostDocument;

// Character flags (PageTextChar::flags).
// 0x10: the character starts a run: the first character of every line, and every character
// whose font, size or colour differs from the one before it on the same line.
inline constexpr uint32_t kCharRunStart = 0x10;
// 0x20: the last character of a line.
inline constexpr uint32_t kCharLineEnd = 0x20;
// 0x40: the last character of a text block (a paragraph or column piece).
inline constexpr uint32_t kCharBlockEnd = 0x40;
// Any of these bits makes the character the start of a new run of text for the page scan:
// a character after a line or block end always carries 0x10 itself.
inline constexpr uint32_t kCharBreakMask = kCharRunStart | kCharLineEnd | kCharBlockEnd;

// One UTF-16 code unit of a page's text with its style and place. Characters come in reading
// order (blocks, then lines, then characters, as the host's layout analysis orders them);
// ligatures are expanded into their letters, and no characters are synthesized: line ends
// are marked only by the flags, never by inserted spaces or line feeds. A character outside
// the Basic Multilingual Plane gives two entries (a surrogate pair) with the same style and
// rectangle; the run-start flag is on the first, the line-end flags on the second.
struct PageTextChar {
  // The character's box in PDF user space of its page (points, y grows upwards; the page's
  // /Rotate does not apply): left < right and bottom < top, also for vertical and rotated
  // text (the axis-aligned box around the glyph).
  double left, bottom, right, top;
  uint32_t flags;   // kCharRunStart, kCharLineEnd, kCharBlockEnd
  int32_t line;     // the page's line counter from 0 (in reading order)
  uint32_t fontId;  // IPageTextService::GetFont; never 0
  uint32_t color;   // fill colour, 0xAARRGGBB (opaque black is 0xFF000000)
  float size;       // font size in points (the scaled size the text is drawn at)
  char16_t code;    // the UTF-16 code unit
  uint16_t reserved;
};

// The text of one page. Immutable once made; may be kept and used after the document's
// later pages were read. Not thread-safe (as every host object): use it on the caller's
// thread.
struct IHostPageText : IUnknown {
  static constexpr Guid kIid{0x5A1E1101, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x71}};
  // The zero-based index of the page in its document.
  virtual HRESULT GetPageIndex(int32_t* page) = 0;
  // The number of characters (UTF-16 code units); 0 for a page without text.
  virtual HRESULT GetCharCount(int32_t* count) = 0;
  // The whole character array in one call. The buffer belongs to this object and stays valid
  // and unchanged until its last reference is released; the caller never frees it. *chars is
  // null when *count is 0. E_POINTER for a null out-parameter.
  virtual HRESULT GetChars(const PageTextChar** chars, int32_t* count) = 0;
  // One character by index; E_INVALIDARG when index is outside [0, count).
  virtual HRESULT GetChar(int32_t index, PageTextChar* ch) = 0;
  // The codes of `length` characters from `start` as a new string (the caller frees it);
  // the range is clipped to the text, so an empty range gives "". E_INVALIDARG for a
  // negative start or length.
  virtual HRESULT GetText(int32_t start, int32_t length, BString* text) = 0;
  // The number of lines (the largest PageTextChar::line + 1; 0 without text).
  virtual HRESULT GetLineCount(int32_t* count) = 0;
  // The characters of one line as a new string, and the index of its first character.
  // E_INVALIDARG for a line outside [0, line count). `first` may be null.
  virtual HRESULT GetLine(int32_t line, BString* text, int32_t* first) = 0;
};

// Font flags (IHostFont::GetFlags), from the font program and its descriptor.
inline constexpr int32_t kFontBold = 0x1;
inline constexpr int32_t kFontItalic = 0x2;
inline constexpr int32_t kFontMonospaced = 0x4;
inline constexpr int32_t kFontSerif = 0x8;

// A font that page text is set in. Font ids are handed out by the host's font table: the same
// font (the same PDF font name, subset tag included) has the same id in every page and
// every document of the process, and an id is never reused for another font.
struct IHostFont : IUnknown {
  static constexpr Guid kIid{0x5A1E1102, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x72}};
  virtual HRESULT GetId(uint32_t* id) = 0;
  // The PDF BaseFont name without the subset tag ("ABCDEF+CMBX12" gives "CMBX12"); a font
  // without a name answers "" (empty, S_OK).
  virtual HRESULT GetName(BString* name) = 0;
  // The name as the file gives it, subset tag included.
  virtual HRESULT GetFullName(BString* name) = 0;
  virtual HRESULT GetFlags(int32_t* flags) = 0;
};

// Reads the text of a list of pages in order, preparing the next pages on a second thread
// while the caller works on the current one. The results are the same as
// IPageTextService::GetPageText page by page; only the wall time differs. At most the
// prefetch window of pages (and the one the caller holds) is in memory at any time.
// Releasing the reader stops the preparation (pages not yet asked for are dropped).
struct IHostPageTextReader : IUnknown {
  static constexpr Guid kIid{0x5A1E1103, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x73}};
  // The number of pages in the list.
  virtual HRESULT GetCount(int32_t* count) = 0;
  // The next page of the list: its index and text. After the last page: S_FALSE, *page -1
  // and *text null. A page whose text cannot be extracted answers its failure code with
  // *page set and *text null; the next call goes on with the following page. `page` may be
  // null.
  virtual HRESULT Next(int32_t* page, IHostPageText** text) = 0;
};

// Receives the fonts of a document from IPageTextService::EnumerateFonts. A host may call it
// from a thread of its own, so an implementation guards what it shares with its own thread.
struct IFontEnumerationSink : IUnknown {
  static constexpr Guid kIid{0x5A1E1107, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x77}};
  // One font, the first time the enumeration meets it: its id (as page text gives it) and its
  // name as IHostFont::GetName gives it (the string is the host's; copy it). Any result other
  // than S_OK stops the enumeration.
  virtual HRESULT OnFont(uint32_t fontId, const char16_t* name, int32_t length) = 0;
  // How far the enumeration has come: done of total steps (pages), after each step; the last
  // call has done == total (0 of 0 for a document without pages).
  virtual HRESULT OnProgress(int32_t done, int32_t total) = 0;
};

// The page text service (component "ZLT").
struct IPageTextService : IUnknown {
  static constexpr Guid kIid{0x5A1E1104, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x74}};
  // The text of one page (zero-based), made now on the caller's thread. E_INVALIDARG for a
  // null or foreign document or a page outside it; E_FAIL (E_OUTOFMEMORY) when the page
  // cannot be read. A page without text (blank or only images) gives an object with no
  // characters, not a failure.
  virtual HRESULT GetPageText(IHostDocument* document, int32_t page, IHostPageText** text) = 0;
  // A font by the id a page text gave. S_FALSE and null for an id the host never gave out;
  // E_INVALIDARG for a null document.
  virtual HRESULT GetFont(IHostDocument* document, uint32_t fontId, IHostFont** font) = 0;
  // A reader over `count` page indexes (`pages` may be null when count is 0; they are copied,
  // in their order, duplicates allowed). `window` is how many pages may be prepared ahead
  // (0 reads each page on the caller's thread when asked; negative takes the host's default).
  // E_INVALIDARG for a null or foreign document or an index outside it (nothing is made).
  virtual HRESULT OpenReader(IHostDocument* document, const int32_t* pages, int32_t count,
                             int32_t window, IHostPageTextReader** reader) = 0;
  // Reports every font the document's page text is set in to the sink, page by page (this
  // host: on the caller's thread, before returning). S_OK after the last page; S_FALSE when
  // the sink stopped it; E_INVALIDARG for a null or foreign document, E_POINTER for a null
  // sink. A page whose text cannot be read is skipped.
  virtual HRESULT EnumerateFonts(IHostDocument* document, IFontEnumerationSink* sink) = 0;
};

// One part of a text selection: characters of one page.
struct IHostTextSelectionPart : IUnknown {
  static constexpr Guid kIid{0x5A1E1105, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x75}};
  // True when the part selects no character.
  virtual HRESULT IsEmpty(bool* empty) = 0;
  // The zero-based page index.
  virtual HRESULT GetPageIndex(int32_t* page) = 0;
  // Character ranges in that page's IHostPageText, in page order, not overlapping.
  virtual HRESULT GetRangeCount(int32_t* count) = 0;
  // E_INVALIDARG for an index outside [0, count).
  virtual HRESULT GetRange(int32_t index, int32_t* start, int32_t* length) = 0;
};

// The text selection of a document: the one object of its "selection.text" selection (also
// what ISelectionService::GetTextSelection answers). Parts come in the order they were
// selected.
struct IHostTextSelection : IUnknown {
  static constexpr Guid kIid{0x5A1E1106, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x76}};
  virtual HRESULT GetPartCount(int32_t* count) = 0;
  // S_FALSE and null for an index outside [0, count).
  virtual HRESULT GetPart(int32_t index, IHostTextSelectionPart** part) = 0;
};

}  // namespace zelta

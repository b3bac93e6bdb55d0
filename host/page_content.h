// Writing onto pages: fonts resolved for writing, the content writer that lays out and
// writes text, content pieces handed to pages, link annotations, Bates numbers and the
// standard paper list.
//
// The page editor of a document is IHostPageEditor, asked of the IHostDocument with
// QueryInterface. The paper list is the application component "PPR".
#pragma once

#include "host/action.h"
#include "host/com.h"
#include "host/document.h"

namespace zelta {

// A font resolved by its PDF name for one document. The document embeds what it needs of
// the font once, whatever the number of writers that use it.
struct IHostWriterFont : IUnknown {
  static constexpr Guid kIid{0x5A1E1201, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x81}};
  // The name that was asked for.
  virtual HRESULT GetRequestedName(BString* name) = 0;
  // The PDF BaseFont name of the font that is written ("Helvetica-Bold" for "Arial-BoldMT").
  virtual HRESULT GetName(BString* name) = 0;
  // True when no font of the requested name was found and a standard font stands in.
  virtual HRESULT IsSubstitute(bool* substitute) = 0;
};

// Flags of IHostContentWriter::FlowText.
enum TextFlowFlags : int32_t {
  // Lines are laid out and reported to the callback, but nothing is written (a pass that
  // only counts the room text needs).
  kFlowLayoutOnly = 0x1,
  // Each line ends at the rectangle's right edge (otherwise lines begin at its left edge).
  kFlowAlignRight = 0x200,
  // The area already holds content, so text that does not fit moves on to a new area at once.
  // Without it the area is fresh: its first line is placed even when it is taller than the
  // area, because a new area would be no larger (this is what keeps a flow from asking for
  // pages without end).
  kFlowAreaInUse = 0x2000000,
};

// Answers of ITextFlowCallback::NewArea (bits).
enum TextFlowAreaBits : int32_t {
  kFlowAreaChanged = 0x1,  // *area holds the new rectangle
  kFlowNewPage = 0x4,      // the new area is on a new page
};

// What a content writer calls while it flows a text. A failure from any call ends the flow
// with that failure.
struct ITextFlowCallback : IUnknown {
  static constexpr Guid kIid{0x5A1E1202, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x82}};
  // The text does not fit into the area any more. The callback gives the next rectangle in
  // *area and kFlowAreaChanged (with kFlowNewPage when it is on a new page); without
  // kFlowAreaChanged the flow ends with E_FAIL (there is nowhere to put the rest).
  virtual HRESULT NewArea(PageBox* area, int32_t* bits) = 0;
  // Lines were placed in the current area: their rectangles (left, bottom, right, top, the
  // right edge where the line's text ends), top to bottom. Called once per area, before
  // NewArea and before EndOfText.
  virtual HRESULT LinesPlaced(const PageBox* lines, int32_t count) = 0;
  // The whole text is placed.
  virtual HRESULT EndOfText() = 0;
};

// A piece of page content made by a writer: drawing operators and the fonts they use.
// Opaque to the caller; only the page editor of the same document takes it.
struct IHostContent : IUnknown {
  static constexpr Guid kIid{0x5A1E1203, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x83}};
  // The size of the drawing operators in bytes (0 for an empty piece).
  virtual HRESULT GetSize(int32_t* bytes) = 0;
};

// Lays out and writes text. The writer keeps a current font, size and colours, and collects
// what it writes until TakeContent hands it over. Coordinates are PDF user space (points,
// y grows upwards); text flows from a rectangle's top downwards, one line after another,
// breaking lines at spaces and between CJK characters (a word wider than the line breaks
// between characters). Characters the font lacks are written in a font that has them (the
// host's Unicode fonts); control characters and unpaired surrogates are written as spaces
// and U+FFFD.
struct IHostContentWriter : IUnknown {
  static constexpr Guid kIid{0x5A1E1204, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x84}};
  // Font size in points: E_INVALIDARG outside (0, 1000] or not a number.
  virtual HRESULT SetFontSize(double size) = 0;
  // Colours as packed 0xAARRGGBB; without a fill colour text is not filled (invisible), with
  // a stroke colour it is outlined as well.
  virtual HRESULT SetFillColor(uint32_t color, bool hasColor) = 0;
  virtual HRESULT SetStrokeColor(uint32_t color, bool hasColor) = 0;
  // A font of this writer's document; E_INVALIDARG for a null or foreign font.
  virtual HRESULT SetFont(IHostWriterFont* font) = 0;
  // The width of a text in one line, and the line height, at a size (points); the current
  // font is used. E_INVALIDARG for a size SetFontSize refuses; E_FAIL without a font.
  virtual HRESULT MeasureText(const char16_t* text, int32_t length, double size, double* width,
                              double* height) = 0;
  // Flows a text into a rectangle (TextFlowFlags). *used is the bounding box of the lines
  // placed in the last area (where the text ends); an empty text places one empty line. A
  // rectangle whose top is below its bottom is full. E_INVALIDARG for a rectangle without
  // width; E_FAIL without a font; a callback's failure.
  virtual HRESULT FlowText(const char16_t* text, int32_t length, const PageBox* rect,
                           ITextFlowCallback* callback, int32_t flags, PageBox* used) = 0;
  // Hands over what was written since the last call (S_FALSE and an empty piece when
  // nothing was).
  virtual HRESULT TakeContent(IHostContent** content) = 0;
  // Drops what was written and not taken; the font, size and colours are kept.
  virtual HRESULT Reset() = 0;
};

// Trigger of IHostAnnotation::SetActions: the annotation is activated (clicked).
inline constexpr int32_t kTriggerActivate = 4;

// An annotation on a page. Changes are not recorded for undo by themselves: the caller
// records new annotations with the host operation "op.annots.addNew".
struct IHostAnnotation : IUnknown {
  static constexpr Guid kIid{0x5A1E1205, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x85}};
  // The zero-based index of its page; -1 while the annotation is on no page of the document.
  virtual HRESULT GetPageIndex(int32_t* page) = 0;
  // The annotation's /Subtype ("Link").
  virtual HRESULT GetType(BString* type) = 0;
  virtual HRESULT GetRect(PageBox* rect) = 0;
  // A name (/NM) not used by another annotation of the document; the name is not set.
  virtual HRESULT ProposeName(BString* name) = 0;
  virtual HRESULT SetName(const char16_t* name, int32_t length) = 0;
  // The actions run on a trigger (only kTriggerActivate: E_INVALIDARG otherwise). The list
  // is written as the link's /A chain (a single go-to as /Dest); an empty list removes them.
  // E_INVALIDARG for a list of another document or an incomplete action.
  virtual HRESULT SetActions(int32_t trigger, IHostActionList* actions) = 0;
  // Border width in points (0: no border is drawn).
  virtual HRESULT SetBorderWidth(double width) = 0;
};

// Writing onto the pages of one document (QueryInterface of IHostDocument).
struct IHostPageEditor : IUnknown {
  static constexpr Guid kIid{0x5A1E1206, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x86}};
  // A new content writer of this document, with no font, size 10, black fill, no stroke.
  virtual HRESULT CreateContentWriter(IHostContentWriter** writer) = 0;
  // A font by PDF name. The standard font names and their common aliases ("ArialMT",
  // "Arial,Bold", "TimesNewRomanPS-BoldMT", "CourierNew") give the standard 14 fonts; other
  // names are looked up among the system's fonts. A name found nowhere gives a standard font
  // and S_FALSE (IHostWriterFont::IsSubstitute says so too). E_INVALIDARG for an empty name.
  virtual HRESULT ResolveFont(const char16_t* name, int32_t length, IHostWriterFont** font) = 0;
  // The Bates number of a page: S_FALSE and "" when the page has none (a document without
  // Bates numbering). E_INVALIDARG for a page outside the document.
  virtual HRESULT GetBatesNumber(int32_t page, BString* number) = 0;
  // Appends a content piece to the page's content, with the fonts it uses; the change is
  // recorded in the document's open change group (or as an undo step of its own). An empty
  // piece changes nothing (S_FALSE). E_INVALIDARG for a page outside the document or a piece
  // of another document.
  virtual HRESULT AppendContent(int32_t page, IHostContent* content) = 0;
  // Creates an annotation of a type ("Link") over a rectangle on a page, at a position in the
  // page's annotation list (-1: last). E_INVALIDARG for an unknown type, a page outside the
  // document or an empty rectangle.
  virtual HRESULT CreateAnnotation(int32_t page, const char16_t* type, int32_t typeLength,
                                   const PageBox* rect, int32_t position,
                                   IHostAnnotation** annotation) = 0;
  // Creates `count` links on one page at the end of its annotation list, as CreateAnnotation,
  // SetName(ProposeName()), SetActions(kTriggerActivate, actions[i]) and SetBorderWidth(0)
  // would one by one, at a fraction of the cost. actions[i] may be null (a link without
  // action); links[i] receives each link. E_INVALIDARG for a page outside the document, an
  // empty rectangle, or an action list of another document or with an incomplete action;
  // on any failure no link is left on the page and every links[i] is null.
  virtual HRESULT CreateLinks(int32_t page, int32_t count, const PageBox* rects,
                              IHostActionList* const* actions, IHostAnnotation** links) = 0;
};

// The standard paper sizes (component "PPR"), in points, portrait.
struct IHostPaperList : IUnknown {
  static constexpr Guid kIid{0x5A1E1207, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x87}};
  virtual HRESULT GetCount(int32_t* count) = 0;
  // E_INVALIDARG for an index outside [0, count). `name` may be null.
  virtual HRESULT GetPaper(int32_t index, BString* name, double* width, double* height) = 0;
};

// The units the host shows lengths in (component "UNT"); the first is the point.
struct IHostUnitList : IUnknown {
  static constexpr Guid kIid{0x5A1E1208, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x88}};
  virtual HRESULT GetCount(int32_t* count) = 0;
  // The unit's name as the user reads it (a new string; `name` may be null) and the points
  // one unit holds. E_INVALIDARG for an index outside [0, count).
  virtual HRESULT GetUnit(int32_t index, BString* name, double* points) = 0;
};

// The host's page and annotation operations (IHostApp::CreateOperation), recorded like the
// bookmark operations (into the open change group, or as an undo step of their own):
// "op.document.insertEmptyPages": "Input" the document (Array of IUnknown, one element);
//   "Options": "Count" (Int, 1..100000), "Position" (Int, zero-based index the first new
//   page gets, 0..page count), "Location" (Int, 1: after the last page, Position is then
//   ignored), "ZLT_PaperType" (Int, 2: Width x Height), "Width", "Height" (Double, points,
//   3..14400), "Landscape" (Bool, swaps Width and Height). Page labels keep labelling the
//   pages they labelled. Undo takes the pages out, redo puts the same pages back.
// "op.annots.addNew": "Input" annotations (IHostAnnotation) already created on pages of one
//   document; records them as added: undo takes them off their pages, redo puts them back.

}  // namespace zelta

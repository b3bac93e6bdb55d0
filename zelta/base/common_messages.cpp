#include "zelta/base/common_messages.h"

namespace zelta::base {
namespace {

struct CommonRow {
  uint16_t code;
  const char16_t* text;
};

constexpr CommonRow kCommonTable[] = {
    {0x0, u"Ok"},
    {0x1, u"Invalid argument"},
    {0x2, u"Invalid file format"},
    {0x3, u"Unsupported file format"},
    {0x4, u"Invalid page number"},
    {0x5, u"File corrupted"},
    {0x6, u"Unsupported compression type"},
    {0x7, u"Incompatible file format"},
    {0x8, u"invalid format index"},
    {0x9, u"Unsupported operation"},
    {0xA, u"Invalid access mode"},
    {0xB, u"Invalid seek mode"},
    {0xC, u"Invalid seek pos"},
    {0xD, u"Critical failure"},
    {0xE, u"Failure"},
    {0xF, u"Component failed to initialize"},
    {0x10, u"Component is not initialized"},
    {0x11, u"Internal error"},
    {0x12, u"Unclassified error"},
    {0x13, u"Unsupported color space"},
    {0x14, u"Invalid format identifier"},
    {0x16, u"Invalid file size"},
    {0x17, u"Compression error"},
    {0x18, u"Need more input data"},
    {0x19, u"Need more output space"},
    {0x1A, u"Reached End-Of-Data marker"},
    {0x1B, u"End Of Data reached"},
    {0x1C, u"Object is locked"},
    {0x1D, u"Operation history locked"},
    {0x2BC, u"Invalid structure"},
    {0x3E8, u"Insufficient memory"},
    {0x3E9, u"Invalid pointer"},
    {0x3EA, u"Too large data was requested"},
    {0x3EB, u"Buffer is too small"},
    {0x4B0, u"Not implemented"},
    {0x4B1, u"Not supported operation"},
    {0x4B2, u"Unsupported value"},
    {0x5DC, u"Incompatible internal format"},
    {0x4C7, u"The operation was canceled by the user"},
};

}  // namespace

const char16_t* CommonMessage(uint16_t code) {
  for (const CommonRow& row : kCommonTable)
    if (row.code == code) return row.text;
  return nullptr;
}

}  // namespace zelta::base

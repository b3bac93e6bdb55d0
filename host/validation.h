// The record format of bookmark validation, shared by the module that validates and the host
// that prints the records: the check bits of VBOptions Flags, the warning bits of a VBOutItem
// record, and the message lines (string ids of the module's table) that describe a record.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace zelta {

// VBOptions Flags: which checks run.
inline constexpr int32_t kVbCheckEmptyTitle = 0x1;
inline constexpr int32_t kVbCheckNoActions = 0x2;
inline constexpr int32_t kVbCheckGoTo = 0x4;
inline constexpr int32_t kVbCheckGoToRemote = 0x8;  // GoToR and GoToE
inline constexpr int32_t kVbCheckLaunchUri = 0x10;
inline constexpr int32_t kVbCheckOther = 0x20;
inline constexpr int32_t kVbVerifyFiles = 0x40;
inline constexpr int32_t kVbCheckMissingGoTo = 0x80;

// VBOutItem Warnings: what is wrong with one bookmark.
inline constexpr int32_t kWarnEmptyTitle = 0x1;
inline constexpr int32_t kWarnNoActions = 0x2;
inline constexpr int32_t kWarnNoGoTo = 0x4;
inline constexpr int32_t kWarnInvalidAction = 0x8;  // with the type bit of the action
inline constexpr int32_t kWarnPageOutOfRange = 0x10;
inline constexpr int32_t kWarnUnknownDestName = 0x20;
inline constexpr int32_t kWarnNoTargetFile = 0x40;

struct ActionTypeBit {
  std::u16string_view name;  // the PDF /S name, compared case-sensitively
  int32_t bit;
};

// In the order in which the first invalid type is named in the message: when one bookmark
// has several invalid action types, its message names only the first of this list.
inline constexpr std::array<ActionTypeBit, 18> kActionTypeBits = {{
    {u"GoTo", 0x1000},
    {u"GoToR", 0x2000},
    {u"GoToE", 0x4000},
    {u"Launch", 0x8000},
    {u"URI", 0x10000},
    {u"Thread", 0x20000000},
    {u"Sound", 0x20000},
    {u"Movie", 0x40000},
    {u"Hide", 0x80000},
    {u"Named", 0x100000},
    {u"SubmitForm", 0x200000},
    {u"ResetForm", 0x400000},
    {u"ImportData", 0x800000},
    {u"JavaScript", 0x1000000},
    {u"SetOCGState", 0x2000000},
    {u"Rendition", 0x4000000},
    {u"Trans", 0x8000000},
    {u"GoTo3DView", 0x10000000},
}};

// The type bit of an action type name; 0 for a name outside the list.
inline int32_t ActionTypeBitOf(std::u16string_view typeName) {
  for (const ActionTypeBit& entry : kActionTypeBits)
    if (entry.name == typeName) return entry.bit;
  return 0;
}

// The string ids of the list's heading ("%1" the number of records) and of a record's line
// ("%1" its number from 1, "%2" the bookmark's title).
inline constexpr std::u16string_view kValidationHeadingId =
    u"bookmarksPlugin.vb.l.invalidBookmarks";
inline constexpr std::u16string_view kValidationRecordId = u"bookmarksPlugin.tree.vb.bookmark";

// One message line: a string id of the plug-in's table, and the text for its "%1" (the
// action type name of the invalid-action line, empty otherwise).
struct ValidationMessage {
  std::u16string_view id;
  std::u16string_view insert;
};

// The message lines of a record, in the order of the warning bits.
inline std::vector<ValidationMessage> ValidationMessages(int32_t warnings) {
  static constexpr std::array<std::pair<int32_t, std::u16string_view>, 7> kLines = {{
      {kWarnEmptyTitle, u"bookmarksPlugin.op.ValidateBookmarks.msg.emptyTitle"},
      {kWarnNoActions, u"bookmarksPlugin.op.ValidateBookmarks.msg.emptyActionsList"},
      {kWarnNoGoTo, u"bookmarksPlugin.op.ValidateBookmarks.msg.goto.noAction"},
      {kWarnInvalidAction, u"bookmarksPlugin.op.ValidateBookmarks.msg.invalidAction"},
      {kWarnPageOutOfRange, u"bookmarksPlugin.op.ValidateBookmarks.msg.goto.invalidPageNumber"},
      {kWarnUnknownDestName, u"bookmarksPlugin.op.ValidateBookmarks.msg.goto.invalidDestName"},
      {kWarnNoTargetFile, u"bookmarksPlugin.op.ValidateBookmarks.msg.gotoR.invalidFile"},
  }};
  std::vector<ValidationMessage> lines;
  for (const auto& [bit, id] : kLines) {
    if (!(warnings & bit)) continue;
    std::u16string_view insert;
    if (bit == kWarnInvalidAction) {
      for (const ActionTypeBit& entry : kActionTypeBits) {
        if (warnings & entry.bit) {
          insert = entry.name;
          break;
        }
      }
    }
    lines.push_back({id, insert});
  }
  return lines;
}

}  // namespace zelta

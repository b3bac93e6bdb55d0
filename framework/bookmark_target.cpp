#include "framework/bookmark_target.h"

namespace bm {

using zelta::ComPtr;
using zelta::PageDestination;

namespace {

bool ValueGiven(const PageDestination& dest, int index) { return !(dest.flags & (1u << index)); }

// Quarter turns from degrees, folded into 0..3 (negative turns count backwards).
int QuarterTurns(int64_t degrees) { return static_cast<int>(((degrees / 90) % 4 + 4) % 4); }

// Whether an action yields a page, and its destination.
bool DestinationOf(zelta::IHostBookmark* bookmark, zelta::IHostAction* action,
                   PageDestination* dest) {
  int32_t type = zelta::kActionOther;
  if (zelta::Failed(action->GetType(&type)) || type != zelta::kActionGoTo) return false;
  if (action->GetDestination(dest) == zelta::S_OK) return dest->page >= 0;
  // A name the action could not resolve by itself: ask the document's named destinations.
  zelta::OwnedString name;
  if (action->GetDestinationName(name.Put()) != zelta::S_OK || name.Empty()) return false;
  ComPtr<zelta::IHostDocument> document;
  if (bookmark->GetDocument(document.Put()) != zelta::S_OK || !document) return false;
  return document->ResolveNamedDest(name.Data(), name.Length(), dest) == zelta::S_OK &&
         dest->page >= 0;
}

}  // namespace

BookmarkTarget TargetOf(zelta::IHostBookmark* bookmark) {
  ComPtr<zelta::IHostActionList> actions;
  if (!bookmark || bookmark->GetActions(actions.Put()) != zelta::S_OK) return {};
  return TargetOf(bookmark, actions.Get());
}

BookmarkTarget TargetOf(zelta::IHostBookmark* bookmark, zelta::IHostActionList* actions) {
  BookmarkTarget target;
  if (!bookmark || !actions) return target;
  int32_t count = 0;
  if (zelta::Failed(actions->GetCount(&count))) return target;
  for (int32_t i = count - 1; i >= 0; --i) {
    ComPtr<zelta::IHostAction> action;
    if (actions->GetItem(i, action.Put()) != zelta::S_OK || !action) continue;
    PageDestination dest;
    if (DestinationOf(bookmark, action.Get(), &dest)) {
      target.page = dest.page;
      target.destination = dest;
      return target;
    }
  }
  return target;
}

ViewPoint DestinationPoint(zelta::IHostDocument* document, int32_t viewRotation,
                           const PageDestination& dest) {
  const bool fitsContents = dest.fitType == zelta::kFitB || dest.fitType == zelta::kFitBH ||
                            dest.fitType == zelta::kFitBV;
  zelta::PageBox box;
  int turns = QuarterTurns(viewRotation);
  if (document &&
      document->GetPageBox(dest.page, fitsContents ? zelta::kBoxContents : zelta::kBoxCrop, &box) ==
          zelta::S_OK) {
    int32_t pageRotation = 0;
    if (zelta::Failed(document->GetPageRotation(dest.page, &pageRotation))) pageRotation = 0;
    turns = QuarterTurns(static_cast<int64_t>(pageRotation) + viewRotation);
  } else {
    box = zelta::PageBox{};
  }

  if (dest.fitType == zelta::kFitR) {
    const double left = ValueGiven(dest, 0) ? dest.values[0] : box.left;
    const double bottom = ValueGiven(dest, 1) ? dest.values[1] : box.bottom;
    const double right = ValueGiven(dest, 2) ? dest.values[2] : box.right;
    const double top = ValueGiven(dest, 3) ? dest.values[3] : box.top;
    switch (turns) {
      case 1:
        return {bottom, -left};
      case 2:
        return {-right, -bottom};
      case 3:
        return {-top, right};
      default:
        return {left, top};
    }
  }

  double x = box.left;
  double y = box.top;
  switch (dest.fitType) {
    case zelta::kFitXYZ:
      if (ValueGiven(dest, 0)) x = dest.values[0];
      if (ValueGiven(dest, 1)) y = dest.values[1];
      break;
    case zelta::kFitV:
    case zelta::kFitBV:
      if (ValueGiven(dest, 0)) x = dest.values[0];
      break;
    case zelta::kFitH:
    case zelta::kFitBH:
      // Single precision first, so that positions stored as floats compare as they did.
      if (ValueGiven(dest, 0)) y = static_cast<float>(dest.values[0]);
      break;
    default:
      break;
  }
  switch (turns) {
    case 1:
      return {y, -x};
    case 2:
      return {-x, -y};
    case 3:
      return {-y, x};
    default:
      return {x, y};
  }
}

}  // namespace bm

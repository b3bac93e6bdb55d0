// One action of an outline item: a view over the action dictionary (or over a bare /Dest,
// which reads as a GoTo action). Reads follow the PDF object; the first edit makes a private
// copy, so an action never changes the file until its list is given to a bookmark.
#pragma once

#include "host/action.h"
#include "zelta/pdf/host_document.h"

namespace zelta::pdf {

class HostAction final : public ComObject<IHostAction> {
 public:
  // `object` is the action dictionary, or the destination when `bareDest` is set. `owned`
  // says the object is the action's own (new, not part of the file), so edits go to it
  // directly.
  HostAction(ComPtr<HostDocument> document, MuObject object, bool bareDest, bool owned = false)
      : document_(std::move(document)),
        object_(std::move(object)),
        bareDest_(bareDest),
        owned_(owned) {}

  HRESULT GetType(int32_t* type) override;
  HRESULT GetTypeName(BString* name) override;
  HRESULT GetDestination(PageDestination* dest) override;
  HRESULT GetDestinationName(BString* name) override;
  HRESULT GetFile(BString* file) override;
  HRESULT GetUri(BString* uri) override;
  HRESULT GetScript(BString* script) override;
  HRESULT IsDestinationNamed(bool* named) override;
  HRESULT GetExplicitDestination(PageDestination* dest) override;
  HRESULT SetDestinationName(const char16_t* name, int32_t length) override;
  HRESULT SetDestination(const PageDestination* dest) override;
  HRESULT ClearDestination() override;
  HRESULT IsValid(bool* valid) override;
  HRESULT HasFileSpecification(bool* has) override;

  HostDocument* Document() const { return document_.Get(); }
  bool IsBareDest() const { return bareDest_; }
  // The action dictionary, or the bare destination (null after ClearDestination).
  pdf_obj* Object() const { return object_.Get(); }
  // False for a GoTo or GoToR whose destination is missing: such an action cannot be written.
  bool IsComplete();
  // After the action was written into an item: the view now reads `written` (an indirect
  // action dictionary, or the bare destination), and edits copy it again.
  void Rebind(MuObject written, bool bareDest);

 private:
  ~HostAction() override = default;
  std::string TypeName();
  int32_t Type();
  // The destination object of GoTo-like actions (null otherwise).
  pdf_obj* Destination();
  // GoTo and GoToR take destination edits.
  bool HasDestinationView();
  // Makes object_ the action's own dictionary before an edit of a non-bare action.
  HRESULT MakePrivate();
  // Puts a new destination object (or removes it for null).
  HRESULT PutDestination(MuObject value);

  ComPtr<HostDocument> document_;
  MuObject object_;
  bool bareDest_;
  bool owned_;
};

}  // namespace zelta::pdf

#include "zelta/app/host_operations/host_operation_set.h"

#include <new>

#include "host/call_guard.h"
#include "zelta/app/host_app.h"
#include "zelta/app/host_operations/host_operation_add_annots.h"
#include "zelta/app/host_operations/host_operation_add_new.h"
#include "zelta/app/host_operations/host_operation_delete.h"
#include "zelta/app/host_operations/host_operation_insert_pages.h"
#include "zelta/app/host_operations/host_operation_move.h"
#include "zelta/app/host_operations/host_operation_search.h"
#include "zelta/app/host_operations/host_operation_set_props.h"
#include "zelta/base/atom_table.h"

namespace zelta::app {
namespace {

// "Input" and "Output" are arrays of host objects; Colour is packed 0xAARRGGBB (opaque
// black by default, -16777216 as a signed Int).
constexpr std::u16string_view kTemplate =
    uR"(<?xml version="1.0" encoding="UTF-8"?>
<CabTemplate>
  <ItemSet id="HostObjects">
    <Item type="IUnknown"/>
  </ItemSet>
  <ItemSet id="HostNoOptions">
    <Item id="Reserved" type="Int" defVal="0"/>
  </ItemSet>
  <ItemSet id="HostSetPropsOptions">
    <Item id="Mask" type="Int" defVal="0"/>
    <Item id="Title" type="String" defVal=""/>
    <Item id="Style" type="Int" defVal="0"/>
    <Item id="Color" type="Int" defVal="-16777216"/>
    <Item id="HasColor" type="Bool" defVal="true"/>
    <Item id="Open" type="Bool" defVal="true"/>
    <Item id="Actions" type="IUnknown"/>
  </ItemSet>
  <ItemSet id="HostMoveOptions">
    <Item id="Parent" type="IUnknown"/>
    <Item id="InsertBefore" type="IUnknown"/>
  </ItemSet>
  <ItemSet id="HostInsertPagesOptions">
    <Item id="Count" type="Int" defVal="1"/>
    <Item id="Position" type="Int" defVal="0"/>
    <Item id="Location" type="Int" defVal="0"/>
    <Item id="ZLT_PaperType" type="Int" defVal="2"/>
    <Item id="Landscape" type="Bool" defVal="false"/>
    <Item id="Width" type="Double" defVal="595.2755905511812"/>
    <Item id="Height" type="Double" defVal="841.8897637795276"/>
  </ItemSet>
  <ItemSet id="HostInsertPagesOperation">
    <Item id="Input" type="Array" itemSet="HostObjects"/>
    <Item id="Output" type="Array" itemSet="HostObjects"/>
    <Item id="Options" type="Dictionary" itemSet="HostInsertPagesOptions"/>
  </ItemSet>
  <ItemSet id="HostPageSet">
    <Item id="Document" type="IUnknown"/>
    <Item id="First" type="Int" defVal="0"/>
    <Item id="Last" type="Int" defVal="-1"/>
  </ItemSet>
  <ItemSet id="HostSearchOptions">
    <Item id="Flags" type="Int" defVal="0"/>
    <Item id="PageSet" type="Dictionary" itemSet="HostPageSet"/>
    <Item id="Callback" type="IUnknown"/>
  </ItemSet>
  <ItemSet id="HostSearchOperation">
    <Item id="Input" type="String" defVal=""/>
    <Item id="Output" type="Array" itemSet="HostObjects"/>
    <Item id="Options" type="Dictionary" itemSet="HostSearchOptions"/>
  </ItemSet>
  <ItemSet id="HostListOperation">
    <Item id="Input" type="Array" itemSet="HostObjects"/>
    <Item id="Output" type="Array" itemSet="HostObjects"/>
    <Item id="Options" type="Dictionary" itemSet="HostNoOptions"/>
  </ItemSet>
  <ItemSet id="HostSetPropsOperation">
    <Item id="Input" type="Array" itemSet="HostObjects"/>
    <Item id="Output" type="Array" itemSet="HostObjects"/>
    <Item id="Options" type="Dictionary" itemSet="HostSetPropsOptions"/>
  </ItemSet>
  <ItemSet id="HostMoveOperation">
    <Item id="Input" type="Array" itemSet="HostObjects"/>
    <Item id="Output" type="Array" itemSet="HostObjects"/>
    <Item id="Options" type="Dictionary" itemSet="HostMoveOptions"/>
  </ItemSet>
  <Root type="Dictionary" itemSet="HostListOperation" id="op.bookmarks.delete"/>
  <Root type="Dictionary" itemSet="HostListOperation" id="op.bookmarks.addNew.simple"/>
  <Root type="Dictionary" itemSet="HostSetPropsOperation" id="op.bookmarks.setProps"/>
  <Root type="Dictionary" itemSet="HostMoveOperation" id="op.bookmarks.move"/>
  <Root type="Dictionary" itemSet="HostInsertPagesOperation" id="op.document.insertEmptyPages"/>
  <Root type="Dictionary" itemSet="HostListOperation" id="op.annots.addNew"/>
  <Root type="Dictionary" itemSet="HostSearchOperation" id="op.search"/>
</CabTemplate>
)";

template <class Operation>
HRESULT Register(HostApp& app, ComPtr<ICabFactory> cabs, const char16_t* id) {
  Atom atom = base::AtomTable::Global().Intern(std::u16string_view(id));
  return app.RegisterHostOperation(atom, [cabs, atom, id](IHostOperation** operation) -> HRESULT {
    if (!operation) return E_POINTER;
    *operation = nullptr;
    ComPtr<ICab> params;
    HRESULT hr =
        cabs->CreateCab(kTemplate.data(), static_cast<int32_t>(kTemplate.size()), id, params.Put());
    if (Failed(hr)) return hr;
    return GuardCall([&] { return MakeCom<Operation>(atom, params).CopyTo(operation); });
  });
}

}  // namespace

std::u16string_view HostOperationTemplate() { return kTemplate; }

HRESULT RegisterBookmarkHostOperations(HostApp& app, ICabFactory* cabs) {
  if (!cabs) return E_POINTER;
  ComPtr<ICabFactory> factory(cabs);
  HRESULT hr = Register<HostOperationDelete>(app, factory, u"op.bookmarks.delete");
  if (Succeeded(hr))
    hr = Register<HostOperationAddNew>(app, factory, u"op.bookmarks.addNew.simple");
  if (Succeeded(hr)) hr = Register<HostOperationSetProps>(app, factory, u"op.bookmarks.setProps");
  if (Succeeded(hr)) hr = Register<HostOperationMove>(app, factory, u"op.bookmarks.move");
  if (Succeeded(hr))
    hr = Register<HostOperationInsertPages>(app, factory, u"op.document.insertEmptyPages");
  if (Succeeded(hr)) hr = Register<HostOperationAddAnnots>(app, factory, u"op.annots.addNew");
  if (Succeeded(hr)) hr = Register<HostOperationSearch>(app, factory, u"op.search");
  return hr;
}

}  // namespace zelta::app

#include "plugin/host_components.h"

namespace bm {
namespace {

// Never destroyed: the references it holds must not be released after the host is gone.
HostComponentTable& Table() {
  static auto* table = new HostComponentTable;
  return *table;
}

}  // namespace

const HostComponentTable& HostComponents() { return Table(); }

void FillHostComponents(zelta::IUnknown* app) {
  HostComponentTable& table = Table();
  if (!app) return;
  auto hostApp = zelta::QueryAs<zelta::IHostApp>(app);
  if (!hostApp || hostApp == table.app) return;
  table.selection = GetHostComponent<zelta::ISelectionService>(hostApp.Get(), "ZLK");
  table.windows = GetHostComponent<zelta::IWindowService>(hostApp.Get(), "ZLW");
  table.cabs = GetHostComponent<zelta::ICabFactory>(hostApp.Get(), "AUX");
  table.files = GetHostComponent<zelta::IFileService>(hostApp.Get(), "AFS");
  table.ui = GetHostComponent<zelta::IUiExtension>(hostApp.Get(), "UIX");
  table.app = hostApp;
}

}  // namespace bm

#include "autogen/level_sheet.h"

#include "autogen/level_appearance_page.h"
#include "autogen/level_description_page.h"
#include "autogen/title_format_page.h"

namespace bm {

zelta::HRESULT RunLevelSheet(PluginContext* plugin, zelta::WindowHandle owner,
                             zelta::IHostDocument* document, LevelOptions* level,
                             bool styleOnOpen) {
  if (!level) return zelta::E_POINTER;
  LevelOptions copy = *level;
  auto description = zelta::MakeCom<LevelDescriptionPage>(plugin, document, &copy, styleOnOpen);
  auto appearance = zelta::MakeCom<LevelAppearancePage>(plugin, &copy);
  auto formatting = zelta::MakeCom<TitleFormatPage>(plugin, &copy);
  int32_t result = zelta::kDialogResultCancel;
  const zelta::HRESULT hr =
      DialogBase::RunSheet(plugin, u"DlgBookmarkPropSheet", owner,
                           {description.Get(), appearance.Get(), formatting.Get()}, &result);
  if (hr != zelta::S_OK) return hr;
  if (result != zelta::kDialogResultOk) return zelta::S_FALSE;
  *level = std::move(copy);
  return zelta::S_OK;
}

}  // namespace bm

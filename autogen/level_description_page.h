// "Text Matching Options", the first page of a level's property sheet: the font names, size,
// colour, letter case and pattern that mark the level's headings, and which of them count.
#pragma once

#include "autogen/level_page.h"

namespace bm {

class LevelDescriptionPage : public LevelPage {
 public:
  // styleOnOpen: the style of the document's text selection is taken as the page opens.
  LevelDescriptionPage(PluginContext* plugin, zelta::IHostDocument* document, LevelOptions* level,
                       bool styleOnOpen);

 protected:
  void OnInit() override;
  bool Store() override;
  bool Validate() override;
  void Refresh() override;

 private:
  // Shows the level in the controls.
  void Load();
  void ShowSizes();
  void AddFonts(const std::vector<std::u16string>& names);
  void AddDocumentFonts();
  void AddCustomFont();
  void RemoveFonts();
  void TakeStyleFromSelection();
  void ChangeUnit();
  // Points per unit of the unit chosen in the combo.
  double UnitSize() const;

  bool styleOnOpen_;
  std::vector<std::pair<std::u16string, double>> units_;  // the host's units, points first
  int32_t unit_ = 0;                                      // entry of the units combo
};

}  // namespace bm

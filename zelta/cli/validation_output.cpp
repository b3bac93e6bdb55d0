#include "zelta/cli/validation_output.h"

#include <string>
#include <vector>

#include "host/validation.h"
#include "zelta/cli/bookmark_path.h"
#include "zelta/cli/session.h"

namespace zelta::cli {
namespace {

struct Finding {
  std::string title;
  std::string position;
  int32_t warnings = 0;
  std::vector<std::string> messages;
};

// Replaces the first "%N" with the insert.
std::u16string Insert(std::u16string text, std::u16string_view marker, std::u16string_view insert) {
  size_t at = text.find(marker);
  if (at != std::u16string::npos) text.replace(at, marker.size(), insert);
  return text;
}

std::vector<Finding> ReadFindings(app::HostApp& app, ICabItem* root) {
  std::vector<Finding> findings;
  ComPtr<ICabItem> output;
  if (!root || root->GetItem(u"Output", output.Put()) != S_OK || !output) return findings;
  int32_t count = 0;
  output->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<ICabItem> record;
    if (output->GetItemAt(i, record.Put()) != S_OK || !record) continue;
    Finding finding;
    ComPtr<IUnknown> object;
    record->GetObject(u"Bookmark", object.Put());
    if (auto bookmark = QueryAs<IHostBookmark>(object.Get())) {
      OwnedString title;
      bookmark->GetTitle(title.Put());
      finding.title = ToUtf8(title.View());
      finding.position = BookmarkPosition(bookmark.Get());
    }
    record->GetInt(u"Warnings", 0, &finding.warnings);
    for (const ValidationMessage& line : ValidationMessages(finding.warnings)) {
      std::u16string text = app.String(ToUtf8(line.id));
      finding.messages.push_back(ToUtf8(Insert(std::move(text), u"%1", line.insert)));
    }
    findings.push_back(std::move(finding));
  }
  return findings;
}

}  // namespace

nlohmann::ordered_json ValidationOutputJson(app::HostApp& app, ICabItem* root) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const Finding& finding : ReadFindings(app, root)) {
    list.push_back({{"title", finding.title},
                    {"position", finding.position},
                    {"warnings", finding.warnings},
                    {"messages", finding.messages}});
  }
  return list;
}

void PrintValidationFindings(app::HostApp& app, ICabItem* root, std::ostream& out) {
  const std::vector<Finding> findings = ReadFindings(app, root);
  const std::u16string count = ToUtf16(std::to_string(findings.size()));
  out << ToUtf8(Insert(app.String(ToUtf8(kValidationHeadingId)), u"%1", count)) << "\n";
  const std::u16string recordLine = app.String(ToUtf8(kValidationRecordId));
  for (size_t i = 0; i < findings.size(); ++i) {
    const Finding& finding = findings[i];
    std::u16string line = Insert(recordLine, u"%1", ToUtf16(std::to_string(i + 1)));
    line = Insert(std::move(line), u"%2", ToUtf16(finding.title));
    out << ToUtf8(line) << " [" << finding.position << "]\n";
    for (const std::string& message : finding.messages) out << "    " << message << "\n";
  }
}

nlohmann::ordered_json OutlineFindingsJson(const std::vector<pdf::OutlineFinding>& findings) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const pdf::OutlineFinding& finding : findings)
    list.push_back({{"item", finding.item}, {"message", finding.text}});
  return list;
}

void PrintOutlineFindings(const std::vector<pdf::OutlineFinding>& findings, std::ostream& out) {
  if (findings.empty()) return;
  out << "Outline structure: " << findings.size() << " fault" << (findings.size() == 1 ? "" : "s")
      << "\n";
  for (const pdf::OutlineFinding& finding : findings) out << "    " << finding.text << "\n";
}

}  // namespace zelta::cli

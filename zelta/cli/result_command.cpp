#include <charconv>
#include <iostream>

#include "zelta/base/result_text.h"
#include "zelta/cli/commands.h"
#include "zelta/cli/exit_codes.h"

namespace zelta::cli {

namespace {
// Decimal (possibly negative) or 0x hexadecimal, as a 32-bit code.
bool ParseCode(const std::string& text, int32_t* code) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    begin += 2;
    base = 16;
  }
  int64_t value = 0;
  auto [ptr, ec] = std::from_chars(begin, end, value, base);
  if (ec != std::errc() || ptr != end || begin == end) return false;
  if (value < INT32_MIN || value > UINT32_MAX) return false;
  *code = static_cast<int32_t>(static_cast<uint32_t>(value));
  return true;
}
}  // namespace

void AddResultCommand(CLI::App& app, SessionOptions& common, int* status) {
  auto* cmd = app.add_subcommand("result", "Print the text of a result code");
  auto code = std::make_shared<std::string>();
  auto shortForm = std::make_shared<bool>(false);
  cmd->add_option("CODE", *code,
                  "The code, decimal or 0x hexadecimal (e.g. 0x821F1001), as --json prints it in "
                  "\"result\"; exit statuses are listed in zelta --help")
      ->required();
  cmd->add_flag("--short", *shortForm, "Leave out the severity");
  cmd->callback([=, &common] {
    int32_t value = 0;
    if (!ParseCode(*code, &value)) {
      PrintError("not a result code: \"" + *code + "\" (expected decimal or 0x hexadecimal)");
      *status = kExitUsage;
      return;
    }
    // The module registers its own facility's texts when it loads; without it the host's
    // texts still describe every other code.
    SessionOptions options = common;
    options.quiet = true;
    Session session;
    session.Start(options);
    std::u16string text;
    base::DescribeResult(value, &text, *shortForm);
    // Result 1 (S_FALSE) is what --json shows for a run without changes; its system text
    // ("Incorrect function") would mislead.
    if (value == S_FALSE)
      text =
          ToUtf16(*shortForm ? "No changes" : "Success: the run made no changes (exit status 3)");
    std::cout << ToUtf8(text) << "\n";
    *status = 0;
  });
}

}  // namespace zelta::cli

#include "support/title_limit.h"

namespace bm {

namespace {

std::u16string Excerpt(std::u16string_view title) {
  constexpr size_t kExcerpt = 40;
  std::u16string excerpt(title.substr(0, kExcerpt));
  if (title.size() > kExcerpt) excerpt += u"...";
  return excerpt;
}

}  // namespace

std::u16string TitleTooLongText(std::u16string_view original) {
  return u"the title \"" + Excerpt(original) +
         u"\" would grow to more than 32767 characters (the longest title allowed)";
}

std::u16string TitleOverLimitText(std::u16string_view title) {
  return u"the title \"" + Excerpt(title) +
         u"\" has more than 32767 characters (the longest title allowed)";
}

}  // namespace bm

#include "support/title_limit.h"

namespace bm {

std::u16string TitleTooLongText(std::u16string_view original) {
  constexpr size_t kExcerpt = 40;
  std::u16string excerpt(original.substr(0, kExcerpt));
  if (original.size() > kExcerpt) excerpt += u"...";
  return u"the title \"" + excerpt +
         u"\" would grow to more than 32767 characters (the longest title allowed)";
}

}  // namespace bm

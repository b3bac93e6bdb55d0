// Whether a text can serve as the target of a web link (the URI rule of bookmark validation).
// A pure text test: nothing is opened or resolved.
#pragma once

#include <string_view>

namespace bm {

// True when the text can be a link: a local or network path, a relative path, plain text
// without a scheme (a host name such as "www.example.com"), "mailto:" with an address, or a
// scheme followed by "//" (or "\\") and a host that starts with a letter or digit. Empty text,
// an empty scheme, a scheme without the two slashes (other than "mailto"), and a host that
// starts with punctuation are rejected.
bool IsPossibleLink(std::u16string_view text);

// A local or network path: a drive ("C:" then a slash, a backslash or the end), a network
// path ("\\server..."), an absolute path of this platform ("/home/..."), or a "file:" link
// that names one of those.
bool IsLocalPath(std::u16string_view text);

}  // namespace bm

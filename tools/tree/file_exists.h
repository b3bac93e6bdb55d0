// The file-existence rule of bookmark validation: whether the file a "Launch" action opens is
// there. Paths in PDF files are often written the DOS way, so backslashes count as
// separators; a relative path is taken from the document's folder, where a viewer looks.
#pragma once

#include <string>
#include <string_view>

namespace bm {

// True when the path holds a character that no file name may hold: a double quote, "*", "<",
// ">", "|", a "?" (other than the one of a leading "\\?\" long-path prefix), or a ":" that is
// neither followed by a slash or backslash nor the colon of a bare drive ("C:").
bool HasForbiddenPathCharacters(std::u16string_view path);

// True when the path names an existing file or folder. A relative path is looked up in
// baseFolder (UTF-8; empty: the current folder). A bare drive ("C:", "C:\") exists nowhere on
// this platform. Empty text and paths with forbidden characters do not exist.
bool FileExists(std::u16string_view path, const std::string& baseFolder);

}  // namespace bm

// UTF-8 texts as the tool handles them: the white space a typed text loses
// at its ends, and lengths counted as an edit or a terminal counts them.
#pragma once

#include <cstddef>
#include <string_view>

namespace lx47::texts {

// The white space a typed text loses at its ends: the ASCII controls \t..\r,
// the space, U+0085, U+00A0 and the Unicode space, line and paragraph
// separators (U+3000, the ideographic space, among them). The same set as
// the widgets' own trimming, so a text trims alike in either place.
bool IsTrimmedSpace(char32_t c);
std::string_view Trimmed(std::string_view utf8);
std::string_view TrimmedRight(std::string_view utf8);

// The length of a UTF-8 text in UTF-16 code units, as an edit counts its
// characters (a character beyond U+FFFF counts two).
std::size_t Utf16Length(std::string_view utf8);

// The columns a text takes on a terminal: two for the wide and full-width
// characters of East Asian scripts, none for combining marks, one for the
// rest (a byte that is no UTF-8 counts one).
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace lx47::texts

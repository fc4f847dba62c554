// Text from files as UTF-8: valid UTF-8 is kept, anything else is read as Windows-1252.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zen {

bool IsValidUtf8(std::string_view bytes);

// The text of bytes as UTF-8: valid UTF-8 is kept, anything else is read as Windows-1252 (files
// from single-byte systems), every byte one character.
std::string ToUtf8(const std::string& bytes);

// UTF-8 text as Windows-1252 bytes, one byte per character; a character that code page cannot
// hold, and each byte that is not part of valid UTF-8, becomes "?".
std::string ToWindows1252(std::string_view utf8);

// The number of characters of UTF-8 text (continuation bytes are not counted).
size_t Utf8Length(std::string_view utf8);

// The first `characters` characters of UTF-8 text, cut between characters, never inside one.
std::string Utf8Prefix(std::string_view utf8, size_t characters);

// UTF-8 text with every character that would act on a terminal or on the lines of a text
// turned into one blank: the C0 controls, DEL, the C1 controls (U+0080..U+009F), the line and
// paragraph separators and the bidirectional embeddings, overrides and isolates. One blank
// for one character, so the text keeps its length in characters. Other bytes pass unchanged.
std::string BlankControlCharacters(std::string_view utf8);

// Bytes cut off after `length` bytes: without the start of a UTF-8 character that the cut
// left incomplete, when the rest is UTF-8. Any other text is returned as it is.
std::string WithoutCutCharacter(std::string_view bytes);

}  // namespace zen

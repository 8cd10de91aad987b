#pragma once
// The user's note in image bytes 2700..2849: lines one after the other, each ended by a 0 byte.
// The bytes are Windows-1250 text (the Central European code page the unit's users write in);
// the editor converts them to and from UTF-8.

#include <string>
#include <string_view>
#include <vector>

#include "model/ParameterImage.h"

namespace kestrin::editor {

inline constexpr int kNoteFirst = 2700;
inline constexpr int kNoteBytes = 150;
// Text and line separators that fit before the final 0 byte.
inline constexpr int kNoteCharacters = kNoteBytes - 1;

// Writes the lines (8-bit text) from byte 2700, each followed by a 0; the rest becomes 0 and
// byte 2849 is always 0. What does not fit is dropped.
void StoreNote(ParameterImage& image, const std::vector<std::string>& lines);

// The lines of the note up to its last non-zero byte; empty lines at the end are not kept.
std::vector<std::string> LoadNote(const ParameterImage& image);

// Windows-1250 <-> UTF-8. Characters the code page lacks become '?'; the five unassigned bytes
// map to the control characters of the same number, so every byte survives a round trip.
std::string Cp1250FromUtf8(std::string_view utf8);
std::string Utf8FromCp1250(std::string_view bytes);

}  // namespace kestrin::editor

#pragma once
// The parameter text file (".ign"): one section per block of the image, each opened by its key
// word and followed by decimal values in the units the user sees.
//
// Code page: the file is 8-bit text and is handled as bytes. The note bytes of the image and the
// unit's identification strings are copied into the file, and the file's note back into the
// image, byte for byte, without any re-encoding. Turning those bytes into display text (the
// Central European or Western code page of the user's files) is left to the GUI.
//
// Line ends: written as CR LF on every platform, since the files are exchanged with Windows
// users; read as line breaks whether CR LF or LF.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/Tokenizer.h"
#include "lang/Messages.h"
#include "model/Defaults.h"
#include "model/FieldTable.h"
#include "model/InjectionMaps.h"
#include "model/ParameterImage.h"

namespace kestrin {

inline constexpr int kParameterFileVersion = 74;
// Versions the reader accepts, the current one first.
inline constexpr std::array<int, 7> kReadableFileVersions{74, 73, 71, 69, 68, 66, 65};
// Page filter of ReadParameterFile that reads every section (the Open command).
inline constexpr int kReadAllPages = kAllPages;

// The strings of the VERSIONS section.
struct VersionStrings {
    std::string unitName;  // the unit's identification as a read transfer last fetched it
    std::string unitDate;
    std::string unitTime;
    std::string buildDate;  // the program's build stamp: "Mmm dd yyyy", as __DATE__ gives it
    std::string buildTime;  // "hh:mm:ss", as __TIME__ gives it
};

// How a section lays out its values in the file. The image side of every value (position,
// width, conversion) comes from the field table; this only fixes the order, the line breaks and
// the fixed-width flag fields.
enum class LayoutOp : std::uint8_t {
    Value,     // count elements from imageByte, "%5u " (or "%5d " when the value can be negative)
    Flag5,     // "    1" or "    0"
    Flag6,     // "    1 " or "    0 "
    Flag7,     // "     1 " or "     0 "
    Map,       // 150 cells from imageByte, a continuation line after every 15th
    Continue,  // line break and 13 blanks
    Break,     // line break alone
};
struct LayoutItem {
    LayoutOp op = LayoutOp::Break;
    int imageByte = 0;
    int count = 0;
};
struct SectionLayout {
    std::string_view key;
    int blanks = 0;  // blanks written after the key word
    std::span<const LayoutItem> items;
};
// The layout of a section key; nullptr for a word that is not a section of the file.
std::optional<SectionLayout> FindSectionLayout(std::string_view key);

// Calls fn(field, element) for every image element a layout item names, in file order.
void ForEachLayoutElement(const LayoutItem& item,
                          const std::function<void(const Field&, int element)>& fn);

// The lines of the note in image bytes 2700..2849 (0-separated; empty lines at the end dropped).
std::vector<std::string> NoteLines(const ParameterImage& image);

// The whole file as text. The overload without note lines takes them from the image.
std::string WriteParameterFile(const ParameterImage& image, std::span<const std::string> noteLines,
                               const VersionStrings& versions);
std::string WriteParameterFile(const ParameterImage& image, const VersionStrings& versions);

// Reads a file into the image. pageFilter is kReadAllPages or an editor page 0..18, for which
// only that page's sections are read. The BIKE section (read only with kReadAllPages) loads that
// bike's defaults into image, maps and bike before the rest of the file is read. warn shows the
// older-version and version-error messages. Returns the version found, or 0 when the text holds
// no accepted version key (the image is then unchanged).
int ReadParameterFile(std::string_view text, ParameterImage& image, InjectionMapSet& maps,
                      BikeSelection& bike, int pageFilter, const std::function<void(MsgId)>& warn);

// Whether a section is read under a page filter: every section for kReadAllPages, otherwise the
// sections of that page, and none of pages 3..5 while the injectors are coupled (byte 47 = 1).
bool SectionInFilter(int sectionPage, int pageFilter, const ParameterImage& image);

// Reads the values of section `key` (its key word already taken) into the image with the
// conversions of a file of fileVersion. False when `key` holds no values of its own to read.
bool ReadSectionValues(std::string_view key, Tokenizer& tokens, ParameterImage& image,
                       int fileVersion);

// Files on disk. Reading takes the whole file; writing goes through a temporary file beside
// the target that is renamed over it, so a crash or a full disk never leaves half a file.
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes);
bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

// ReadFileBytes and ReadParameterFile; nullopt when the file cannot be opened.
std::optional<int> OpenParameterFile(const std::filesystem::path& path, ParameterImage& image,
                                     InjectionMapSet& maps, BikeSelection& bike, int pageFilter,
                                     const std::function<void(MsgId)>& warn);
// WriteParameterFile and WriteFileBytes; false when the file cannot be written.
bool SaveParameterFile(const std::filesystem::path& path, const ParameterImage& image,
                       const VersionStrings& versions);

}  // namespace kestrin

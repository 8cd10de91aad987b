#pragma once
// Every block of the parameter image as data: position, width, conversions, editing control,
// editor page and parameter file section. The file writer and reader, the control bindings and
// the printout walk this table instead of repeating positions.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ParameterImage.h"

namespace kestrin {

// Tab pages of the main window, in their fixed order.
enum EditorPage : int {
    kPageBike = 0,
    kPageAdvance = 1,
    kPageInj1A = 2,
    kPageInj2A = 3,
    kPageInj3A = 4,
    kPageInj4A = 5,
    kPageInjB = 6,
    kPageInjIap = 7,
    kPagePoloha = 8,
    kPageKorekce = 9,
    kPageCidla = 10,
    kPageIntakeServo = 11,
    kPageExhaustServo = 12,
    kPageVolnobeh = 13,
    kPageN2O = 14,
    kPageRace = 15,
    kPageGear = 16,
    kPageLadeni = 17,
    kPageMonitor = 18,
    kNoPage = -1,
};
inline constexpr int kEditorPageCount = 19;

// Load points of every map except IAP (whose load axis is image words 192..201), in %.
inline constexpr std::array<int, kMapRows> kThrottleLoadPoints{0,  2,  5,  10, 20,
                                                               30, 40, 60, 80, 100};

enum class Width : std::uint8_t { Byte, Word };

enum class FieldKind : std::uint8_t {
    Value,           // a number, shown as scale * stored + offset
    Flag,            // check box: 0 off, anything else on
    Choice,          // item index of a radio group or menu
    Signed,          // shown signed, stored + 100
    BikeCode,        // catalogue bike code, chosen in the bike combo box
    Note,            // the user's note, 0-separated lines
    MapCells,        // 150 cells of a map, 15 * load point + RPM point
    RpmAxis,         // the 15 RPM points of a map, RPM / 100
    EngineConstant,  // derived from the bike code; never edited, never filed
    Reserved,        // carries nothing; transferred but never filed
};

// How the parameter names an editing control per element of a field.
enum class ControlForm : std::uint8_t {
    None,      // no control
    Single,    // one control for the whole field
    Numbered,  // element i: name + (first + i), as EditSyticCas1..EditSyticCas4
    Indexed,   // element i: name[first + i], run-time arrays as EditKorVoda[0..4]
    Cells,     // element i: name[i / 15][i % 15], the map editor's grid
};

struct Field {
    int first = 0;  // first image byte
    int count = 1;  // elements (bytes or words)
    Width width = Width::Byte;
    FieldKind kind = FieldKind::Value;
    Conversion editor{};  // shown in the editor
    Conversion file{};    // written to and read from the parameter file
    // Files of version olderFilesUpTo and older read the field with olderFiles (0: none).
    int olderFilesUpTo = 0;
    Conversion olderFiles{};
    // When scaleFlagByte >= 0 and that image byte is 0, editor and file use scaleWhenFlagClear
    // instead of the scale above (servo maps in raw steps instead of percent).
    int scaleFlagByte = -1;
    int scaleWhenFlagClear = 1;
    std::string_view section;  // parameter file section; empty when not filed
    int page = kNoPage;        // editor page that shows the field
    std::string_view control;  // control name, or the base name of an array
    ControlForm controlForm = ControlForm::None;
    int controlFirst = 0;   // number or index of the first element's control
    int axisByte = -1;      // maps: first byte of the map's RPM axis
    int loadAxisWord = -1;  // maps with their own load axis: first image word of it
    std::string_view meaning;

    constexpr int elementSize() const { return width == Width::Word ? 2 : 1; }
    constexpr int byteCount() const { return count * elementSize(); }
    constexpr int last() const { return first + byteCount() - 1; }
    constexpr bool covers(int n) const { return n >= first && n <= last(); }
    constexpr int elementByte(int element) const { return first + element * elementSize(); }
    constexpr int elementOf(int n) const { return (n - first) / elementSize(); }
    constexpr bool filed() const { return !section.empty(); }
};

// Sections of the parameter file in the order the file holds them. group is the editor page
// whose "for actual page" open reads the section; kNoPage for sections read only by a full open
// (BIKE) or holding no image fields (TORVANIC_KEY, VERSIONS). A section with readAboveVersion
// is read only from files of a newer version.
struct FileSection {
    std::string_view key;
    int group = kNoPage;
    int readAboveVersion = 0;
};

enum class ByteKind : std::uint8_t {
    Setting,  // a value, flag, choice or the bike code
    RpmAxis,
    MapCell,
    Note,
    EngineConstant,
    Reserved,
    Outside,  // not an image byte
};

// All fields in image order; together they cover every image byte exactly once.
std::span<const Field> Fields();
std::span<const FileSection> FileSections();

// The field that covers image byte n, or nullptr outside the image.
const Field* FieldAt(int imageByte);
ByteKind KindOfByte(int imageByte);

// First field of a section in image order (for one-field sections, the field); nullptr if none.
const Field* FindField(std::string_view section);
std::vector<const Field*> FieldsInSection(std::string_view section);
const FileSection* FindSection(std::string_view key);

struct FieldElement {
    const Field* field = nullptr;
    int element = 0;
};
inline constexpr int kAnyPage = -2;
// The field and element a control edits: "EditStartLimiter1", "EditSyticCas3", "EditKorVoda[2]"
// or a bare array name for its first element. Controls shared by the map pages (EditMapPar,
// CheckBoxServoEnable, ...) edit a different field per page, so give the page for those.
FieldElement FindByControl(std::string_view name, int page = kAnyPage);
// Control name of one element; empty when the field has no control.
std::string ControlName(const Field& field, int element);

// Conversions in effect for the image as it stands (servo maps follow their percent flag).
Conversion EditorConversion(const Field& field, const ParameterImage& image);
Conversion FileConversion(const Field& field, const ParameterImage& image, int fileVersion);

// Raw stored element, and storing a raw value (low 8 or 16 bits kept).
int StoredValue(const ParameterImage& image, const Field& field, int element);
void SetStoredValue(ParameterImage& image, const Field& field, int element, int stored);

// Element as the editor shows it, and storing a shown value by the conversion rule.
int ShownValue(const ParameterImage& image, const Field& field, int element);
void SetShownValue(ParameterImage& image, const Field& field, int element, int shown);

// Element as the current file format writes it (flags as 0 or 1), and storing a value read
// from a file of the given version.
int FileValue(const ParameterImage& image, const Field& field, int element);
void SetFileValue(ParameterImage& image, const Field& field, int element, int value,
                  int fileVersion);

}  // namespace kestrin

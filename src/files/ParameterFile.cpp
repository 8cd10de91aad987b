#include "files/ParameterFile.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace kestrin {
namespace {

using Op = LayoutOp;

constexpr std::string_view kNewLine = "\r\n";
constexpr std::string_view kContinuation = "\r\n             ";
constexpr int kNoteFirst = 2700;
constexpr int kNoteLast = 2849;

// One flat table: a Key entry opens a section, the entries up to the next Key are its layout.
struct Entry {
    bool isKey = false;
    std::string_view key;
    LayoutItem item;
};
constexpr Entry Key(std::string_view key, int blanks) {
    return {true, key, {Op::Break, 0, blanks}};
}
constexpr Entry V(int imageByte, int count = 1) {
    return {false, {}, {Op::Value, imageByte, count}};
}
constexpr Entry Vw(int word, int count = 1) {
    return V(2 * word, count);
}
constexpr Entry F5(int imageByte) {
    return {false, {}, {Op::Flag5, imageByte, 1}};
}
constexpr Entry F6(int imageByte) {
    return {false, {}, {Op::Flag6, imageByte, 1}};
}
constexpr Entry F7(int imageByte) {
    return {false, {}, {Op::Flag7, imageByte, 1}};
}
constexpr Entry MapAt(int imageByte) {
    return {false, {}, {Op::Map, imageByte, kMapCells}};
}
constexpr Entry C{false, {}, {Op::Continue, 0, 0}};
constexpr Entry E{false, {}, {Op::Break, 0, 0}};

// clang-format off
constexpr Entry kLayout[] = {
    Key("TORVANIC_KEY", 3),
    Key("BIKE", 9), V(0), C,
    Key("APS_IAPS", 5), Vw(3, 4), C, Vw(7, 4),
    Key("WATER_TEMP_SENSOR", 0), C, Vw(97, 9),
    Key("AIR_TEMP_SENSOR", 4), C, Vw(106, 9),
    Key("SENSOR_LAMBDA", 6), V(352), C, V(353, 5), C, Vw(179, 5),
    Key("LAMBDA_TACHO", 7), C, V(368, 2), C, V(370, 2),
    Key("INPUTS", 7), V(22, 6),
    Key("LIMITER", 6), V(28, 5),
    Key("LIMITER2", 5), V(39),
    Key("TPS", 10), V(33, 2),
    Key("POTENTIOMETER", 6), V(75, 2),
    Key("COOLING", 6), V(35),
    Key("RPM", 10), V(36, 2),
    Key("INTAKE_PORT", 2), V(38), E,
    Key("ADVANCE_MISC", 1), V(40, 7),
    Key("RPM_ADV", 6), V(465, 15),
    Key("ADVANCE", 6), MapAt(600),
    Key("JET1_MISC", 4), V(47, 5),
    Key("RPM_JET_1A", 3), V(480, 15),
    Key("JET_1A", 7), MapAt(2 * 375),
    Key("RPM_JET_2A", 3), V(495, 15),
    Key("JET_2A", 7), MapAt(2 * 525),
    Key("RPM_JET_3A", 3), V(510, 15),
    Key("JET_3A", 7), MapAt(2 * 675),
    Key("RPM_JET_4A", 3), V(525, 15),
    Key("JET_4A", 7), MapAt(2 * 825),
    Key("RPM_JET_B", 4), V(540, 15),
    Key("JET_B", 8), MapAt(1950),
    Key("IAP_MISC", 5), V(52, 4),
    Key("IAP_IAP", 6), Vw(192, 10),
    Key("RPM_IAP", 6), V(555, 15),
    Key("IAP", 10), MapAt(2 * 1050),
    Key("POSITION_A", 3), V(56), C, V(405, 15), C, V(420, 15), E,
    Key("POSITION_B", 3), V(57), C, V(435, 15), C, V(450, 15), E,
    Key("SERVO_IN", 5), F5(59), F7(63), V(61), V(65), F6(66), V(77), V(78),
    Key("RPM_SERVO_IN", 1), V(585, 15),
    Key("SERVO_IN_VALUE", 0), C, MapAt(2550), E,
    Key("SERVO_EX", 5), F5(58), F7(62), V(60), V(64),
    Key("RPM_SERVO_EX", 1), V(570, 15),
    Key("SERVO_EX_VALUE", 0), C, MapAt(2400),
    Key("IDLE", 9), V(290, 3), C, V(293, 4), C, Vw(165), C, Vw(149, 9), C, V(317, 4), C,
        V(321, 9), C, C,
    Key("CHOKE", 8), V(67, 4), C, V(71, 4),
    Key("START_INJ", 4), V(92), C,
    Key("INJ_CORR", 5), V(80, 5), C, V(85, 5),
    Key("ACCEL", 8), V(90, 2), E,
    Key("ACC_CORR", 5), Vw(166), Vw(167), Vw(169), Vw(168),
    Key("ADVANCE_CORR", 1), V(93, 5), C,
    Key("N2O", 10), F6(98), C, V(99), V(100), V(102), V(101), V(158), V(159), C, V(103), V(104),
        V(106), V(105),
    Key("SPEED_PULSES", 1), V(138), Vw(80), C,
    Key("GEAR", 9), V(136, 2), C, Vw(70, 7), C, Vw(81, 6),
    Key("GEAR_AUTO", 4), V(154, 4),
    Key("GEAR_CORR", 4), V(174, 6), C, V(180, 6),
    Key("PILOT_LIGHT", 2), V(108, 6), C, V(114, 6),
    Key("CLUTCH", 7), V(120), V(133), V(134), V(135), C, V(121, 6), C, V(127, 6), E,
    Key("DISPLAY", 6), F5(107), E,
    Key("TUNING", 7), V(340), V(345), V(346), V(342), V(344), V(347), V(348), V(350), V(351), E,
    Key("TEST_OUT", 5), V(376, 2), E,
    Key("LAMBDA_BAR", 3), V(372, 4), C,
    Key("VERSIONS", 0),
    Key("MEMO", 9),
};
// clang-format on

constexpr bool IsValueOp(Op op) {
    return op == Op::Value || op == Op::Flag5 || op == Op::Flag6 || op == Op::Flag7 ||
           op == Op::Map;
}

void AppendSigned(std::string& out, int value) {
    char buffer[16];
    const int n = std::snprintf(buffer, sizeof buffer, "%5d ", value);
    if (n > 0) out.append(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), 15));
}
void AppendUnsigned(std::string& out, unsigned value, const char* format = "%5u ") {
    char buffer[16];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    if (n > 0) out.append(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), 15));
}

void AppendValue(std::string& out, const ParameterImage& image, const Field& field, int element,
                 Op op) {
    const int stored = StoredValue(image, field, element);
    switch (op) {
        case Op::Flag5:
            out += stored != 0 ? "    1" : "    0";
            return;
        case Op::Flag6:
            out += stored != 0 ? "    1 " : "    0 ";
            return;
        case Op::Flag7:
            out += stored != 0 ? "     1 " : "     0 ";
            return;
        default: {
            // Only fields filed with a negative offset can give a negative value.
            const Conversion c = FileConversion(field, image, kParameterFileVersion);
            const int value = c.Shown(stored);
            if (c.offset < 0)
                AppendSigned(out, value);
            else
                AppendUnsigned(out, static_cast<unsigned>(value));
            return;
        }
    }
}

// The unit's strings stand inside one line; a line break in them would split the section.
std::string OneLine(std::string_view s) {
    std::string line(s);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

void AppendKey(std::string& out, const SectionLayout& layout, bool first) {
    if (!first) out += kNewLine;
    out += layout.key;
    out.append(static_cast<std::size_t>(layout.blanks), ' ');
}

void AppendSection(std::string& out, const SectionLayout& layout, const ParameterImage& image) {
    for (const LayoutItem& item : layout.items) {
        if (item.op == Op::Continue) {
            out += kContinuation;
        } else if (item.op == Op::Break) {
            out += kNewLine;
        } else {
            int i = 0;
            ForEachLayoutElement(item, [&](const Field& field, int element) {
                AppendValue(out, image, field, element, item.op);
                if (item.op == Op::Map && ++i % kMapColumns == 0) out += kContinuation;
            });
        }
    }
}

// Image bytes 2700..2849 cleared, then the note text from 2700 on with each line break as a 0
// byte; text beyond byte 2848 is cut so that byte 2849 stays 0.
void ReadNote(std::string_view text, ParameterImage& image) {
    for (int n = kNoteFirst; n <= kNoteLast; ++n) image.setByte(n, 0);
    int n = kNoteFirst;
    for (std::size_t i = 0; i < text.size() && n < kNoteLast; ++i) {
        char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (c == '\n') c = '\0';
        image.setByte(n++, static_cast<std::uint8_t>(c));
    }
    image.setByte(kNoteLast, 0);
}

bool IsAcceptedVersion(std::uint32_t n) {
    return std::any_of(kReadableFileVersions.begin(), kReadableFileVersions.end(),
                       [n](int v) { return static_cast<std::uint32_t>(v) == n; });
}

void Warn(const std::function<void(MsgId)>& warn, MsgId id) {
    if (warn) warn(id);
}

}  // namespace

std::optional<SectionLayout> FindSectionLayout(std::string_view key) {
    constexpr std::size_t count = std::size(kLayout);
    static const auto items = [] {
        std::array<LayoutItem, count> all{};
        for (std::size_t i = 0; i < count; ++i) all[i] = kLayout[i].item;
        return all;
    }();
    for (std::size_t i = 0; i < count; ++i) {
        if (!kLayout[i].isKey || kLayout[i].key != key) continue;
        std::size_t end = i + 1;
        while (end < count && !kLayout[end].isKey) ++end;
        return SectionLayout{kLayout[i].key, kLayout[i].item.count,
                             std::span<const LayoutItem>(items).subspan(i + 1, end - i - 1)};
    }
    return std::nullopt;
}

void ForEachLayoutElement(const LayoutItem& item,
                          const std::function<void(const Field&, int element)>& fn) {
    if (!IsValueOp(item.op)) return;
    int n = item.imageByte;
    for (int i = 0; i < item.count; ++i) {
        const Field* field = FieldAt(n);
        if (field == nullptr) return;
        fn(*field, field->elementOf(n));
        n += field->elementSize();
    }
}

std::vector<std::string> NoteLines(const ParameterImage& image) {
    std::vector<std::string> lines;
    int last = kNoteLast;
    while (last >= kNoteFirst && image.byte(last) == 0) --last;
    std::string line;
    for (int n = kNoteFirst; n <= last; ++n) {
        if (image.byte(n) == 0) {
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += static_cast<char>(image.byte(n));
        }
    }
    if (last >= kNoteFirst) lines.push_back(std::move(line));
    return lines;
}

std::string WriteParameterFile(const ParameterImage& image, std::span<const std::string> noteLines,
                               const VersionStrings& versions) {
    std::string out;
    out.reserve(16384);
    bool first = true;
    for (const FileSection& section : FileSections()) {
        const auto layout = FindSectionLayout(section.key);
        if (!layout) continue;
        AppendKey(out, *layout, first);
        first = false;
        if (section.key == "TORVANIC_KEY") {
            AppendUnsigned(out, kParameterFileVersion, "%3u ");
            out += kNewLine;
        } else if (section.key == "VERSIONS") {
            out += kNewLine;
            out += "HEX  " + OneLine(versions.unitDate) + "  " + OneLine(versions.unitTime) +
                   "   " + OneLine(versions.unitName);
            out += kNewLine;
            out += "EXE  " + OneLine(versions.buildDate) + "   " + OneLine(versions.buildTime);
            out += kNewLine;
        } else if (section.key == "MEMO") {
            for (const std::string& line : noteLines) {
                out += kNewLine;
                out += line;
            }
        } else {
            AppendSection(out, *layout, image);
        }
    }
    return out;
}

std::string WriteParameterFile(const ParameterImage& image, const VersionStrings& versions) {
    const std::vector<std::string> lines = NoteLines(image);
    return WriteParameterFile(image, lines, versions);
}

bool SectionInFilter(int sectionPage, int pageFilter, const ParameterImage& image) {
    if (pageFilter == kReadAllPages) return true;
    if (sectionPage != pageFilter) return false;
    const bool coupledPage = pageFilter >= kPageInj2A && pageFilter <= kPageInj4A;
    return !(coupledPage && image.byte(47) == 1);
}

bool ReadSectionValues(std::string_view key, Tokenizer& tokens, ParameterImage& image,
                       int fileVersion) {
    const auto layout = FindSectionLayout(key);
    if (!layout) return false;
    bool any = false;
    for (const LayoutItem& item : layout->items)
        ForEachLayoutElement(item, [&](const Field& field, int element) {
            const int v = static_cast<int>(tokens.NextValue() & 0xFFFFu);
            SetFileValue(image, field, element, v, fileVersion);
            any = true;
        });
    return any;
}

int ReadParameterFile(std::string_view text, ParameterImage& image, InjectionMapSet& maps,
                      BikeSelection& bike, int pageFilter, const std::function<void(MsgId)>& warn) {
    Tokenizer tokens(text);
    int version = 0;
    while (version == 0) {
        const std::string_view token = tokens.NextToken();
        if (token.empty()) return 0;
        if (token != "TORVANIC_KEY") continue;
        const std::uint32_t n = tokens.NextValue();
        if (!IsAcceptedVersion(n)) {
            Warn(warn, MsgIgnVersionError);
            continue;
        }
        if (n != kParameterFileVersion) Warn(warn, MsgIgnOlderVersion);
        version = static_cast<int>(n);
    }

    for (std::string_view token = tokens.NextToken(); !token.empty(); token = tokens.NextToken()) {
        const FileSection* section = FindSection(token);
        if (section == nullptr || version <= section->readAboveVersion) continue;
        const bool bikeSection = section->key == "BIKE";
        const bool active = bikeSection ? pageFilter == kReadAllPages
                                        : section->group != kNoPage &&
                                              SectionInFilter(section->group, pageFilter, image);
        if (!active) continue;
        if (section->key == "MEMO") {
            ReadNote(tokens.Rest(), image);
            break;
        }
        ReadSectionValues(section->key, tokens, image, version);
        if (bikeSection) LoadDefaults(kAllPages, image, maps, bike);
    }
    return version;
}

bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (file == nullptr) return false;
    std::string data;
    char buffer[8192];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.append(buffer, got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    if (ok) bytes = std::move(data);
    return ok;
}

bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path temporary = path;
    temporary += ".saving";
    std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
#if defined(__unix__) || defined(__APPLE__)
    ok = ::fsync(::fileno(file)) == 0 && ok;
#endif
    ok = std::fclose(file) == 0 && ok;
    std::error_code error;
    if (ok) std::filesystem::rename(temporary, path, error);
    if (!ok || error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

std::optional<int> OpenParameterFile(const std::filesystem::path& path, ParameterImage& image,
                                     InjectionMapSet& maps, BikeSelection& bike, int pageFilter,
                                     const std::function<void(MsgId)>& warn) {
    std::string text;
    if (!ReadFileBytes(path, text)) return std::nullopt;
    return ReadParameterFile(text, image, maps, bike, pageFilter, warn);
}

bool SaveParameterFile(const std::filesystem::path& path, const ParameterImage& image,
                       const VersionStrings& versions) {
    return WriteFileBytes(path, WriteParameterFile(image, versions));
}

}  // namespace kestrin

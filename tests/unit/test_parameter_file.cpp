// The parameter text file: the writer's layout, the reader's conversions, filters, versions and
// note, and round trips over the defaults of every bike.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "files/ParameterFile.h"
#include "model/Consistency.h"

namespace kestrin {
namespace {

struct Model {
    ParameterImage image;
    InjectionMapSet maps;
    BikeSelection bike;
};

// What the service batch writes for a bike: image cleared, code set, defaults, consistency pass.
Model DefaultsOf(int code) {
    Model m;
    m.image.setByte(0, static_cast<std::uint8_t>(code));
    EXPECT_TRUE(LoadDefaults(kAllPages, m.image, m.maps, m.bike)) << "bike " << code;
    ProgramIndexes indexes;
    ConsistencyPass(m.image, ConsistencyFlagsOf(m.image, m.bike), indexes);
    return m;
}

const VersionStrings kVersions{"RS-2007 1234", " 5.11.2008", "09:05", "Jan  5 2024", "12:34:56"};

struct Read {
    int version = 0;
    std::vector<MsgId> warnings;
};
Read ReadInto(Model& m, std::string_view text, int filter = kReadAllPages) {
    Read r;
    r.version = ReadParameterFile(text, m.image, m.maps, m.bike, filter,
                                  [&](MsgId id) { r.warnings.push_back(id); });
    return r;
}

// The text of the line that starts with `key` (without its line end); empty when none does.
std::string LineOf(const std::string& text, const std::string& key) {
    std::size_t at = text.rfind(key, 0) == 0 ? 0 : text.find("\r\n" + key);
    if (at == std::string::npos) return {};
    if (at != 0) at += 2;
    return text.substr(at, text.find("\r\n", at) - at);
}

std::string Lf(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

void SetNote(ParameterImage& image, std::string_view bytes) {
    for (int n = 2700; n < 2850; ++n) image.setByte(n, 0);
    for (std::size_t i = 0; i < bytes.size() && i < 149; ++i)
        image.setByte(2700 + static_cast<int>(i), static_cast<std::uint8_t>(bytes[i]));
}

std::string NoteBytes(const ParameterImage& image) {
    std::string s;
    for (int n = 2700; n < 2850; ++n) s += static_cast<char>(image.byte(n));
    return s;
}

// ---- The layout against the field table ----

TEST(ParameterFileLayout, NamesEveryFiledElementOnceUnderItsOwnSection) {
    std::vector<int> named(kImageSize, 0);
    for (const FileSection& section : FileSections()) {
        const auto layout = FindSectionLayout(section.key);
        ASSERT_TRUE(layout) << section.key;
        for (const LayoutItem& item : layout->items)
            ForEachLayoutElement(item, [&](const Field& field, int element) {
                EXPECT_EQ(field.section, section.key) << "byte " << field.elementByte(element);
                for (int b = 0; b < field.elementSize(); ++b)
                    ++named[static_cast<std::size_t>(field.elementByte(element) + b)];
            });
    }
    for (int n = 0; n < kImageSize; ++n) {
        const Field* field = FieldAt(n);
        ASSERT_NE(field, nullptr);
        // The note has its own handling; everything else filed appears exactly once.
        const int expected = field->filed() && field->kind != FieldKind::Note ? 1 : 0;
        EXPECT_EQ(named[static_cast<std::size_t>(n)], expected) << "image byte " << n;
    }
}

// ---- The writer ----

TEST(ParameterFileWriter, SectionsInFileOrderEachOnItsOwnLineWithCrLf) {
    const Model m = DefaultsOf(11);
    const std::string text = WriteParameterFile(m.image, kVersions);
    EXPECT_EQ(text.rfind("TORVANIC_KEY    74 \r\n", 0), 0u);
    std::size_t from = 0;
    for (const FileSection& section : FileSections()) {
        const auto layout = FindSectionLayout(section.key);
        const std::string field =
            std::string(section.key) + std::string(static_cast<std::size_t>(layout->blanks), ' ');
        const std::size_t at = section.key == "TORVANIC_KEY" ? 0 : text.find("\r\n" + field, from);
        ASSERT_NE(at, std::string::npos) << section.key;
        from = at + 1;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
        }
        if (text[i] == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
        }
    }
}

TEST(ParameterFileWriter, FieldFormats) {
    struct Case {
        const char* what;
        std::function<void(ParameterImage&)> set;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"flag byte 2 in the fixed-width flags, hysteresis x 5, excitation x 250",
         [](ParameterImage& im) {
             for (auto [n, v] :
                  {std::pair{59, 2}, {63, 0}, {61, 20}, {65, 1}, {66, 3}, {77, 8}, {78, 8}})
                 im.setByte(n, static_cast<std::uint8_t>(v));
         },
         "SERVO_IN         1     0   100     1     1     8  2000 "},
        {"signed stored 95 written as -5",
         [](ParameterImage& im) {
             im.setByte(36, 1);
             im.setByte(37, 95);
         },
         "RPM              1    -5 "},
        {"TPS 246 written as 4960",
         [](ParameterImage& im) {
             im.setByte(33, 110);
             im.setByte(34, 246);
         },
         "TPS           1100  4960 "},
        {"largest word in five columns, last two words swapped",
         [](ParameterImage& im) {
             for (int k = 166; k <= 169; ++k) im.setWord(k, static_cast<std::uint16_t>(k - 165));
             im.setWord(166, 65535);
         },
         "ACC_CORR     65535     2     4     3 "},
        {"advance corrections by temperature as stored, without the -100",
         [](ParameterImage& im) {
             for (int n = 93; n <= 97; ++n) im.setByte(n, 95);
         },
         "ADVANCE_CORR    95    95    95    95    95 "},
        {"flag without trailing blank", [](ParameterImage& im) { im.setByte(107, 7); },
         "DISPLAY          1"},
    };
    for (const Case& c : cases) {
        Model m = DefaultsOf(11);
        c.set(m.image);
        const std::string text = WriteParameterFile(m.image, kVersions);
        EXPECT_EQ(LineOf(text, c.line.substr(0, 13)), c.line) << c.what;
    }
    // Nitrous: values out of image order over three lines, corrections + 100.
    Model m = DefaultsOf(11);
    for (int n = 98; n <= 106; ++n) m.image.setByte(n, static_cast<std::uint8_t>(n - 97));
    m.image.setByte(159, 5);
    const std::string text = WriteParameterFile(m.image, kVersions);
    EXPECT_NE(text.find("N2O              1 \r\n                 2     3   500   400   100   105 "
                        "\r\n                 6     7   900   800 \r\n"),
              std::string::npos);
}

TEST(ParameterFileWriter, MapsAsTenLinesOfFifteenAndServoMapsByTheirPercentFlag) {
    Model m = DefaultsOf(11);
    for (int i = 0; i < kMapCells; ++i) m.image.setByte(2550 + i, static_cast<std::uint8_t>(i));
    const std::string cont = "\r\n             ";
    for (int percent : {0, 1}) {
        m.image.setByte(63, static_cast<std::uint8_t>(percent));
        const int scale = percent ? 1 : 20;
        std::string expected = "\r\nSERVO_IN_VALUE" + cont;
        for (int i = 0; i < kMapCells; ++i) {
            char field[8];
            std::snprintf(field, sizeof field, "%5d ", scale * i);
            expected += field;
            if (i % 15 == 14) expected += cont;
        }
        expected += "\r\n\r\nSERVO_EX ";
        EXPECT_NE(WriteParameterFile(m.image, kVersions).find(expected), std::string::npos)
            << "percent flag " << percent;
    }
}

TEST(ParameterFileWriter, VersionsAndNoteLines) {
    Model m = DefaultsOf(11);
    SetNote(m.image, std::string_view("first\0\0  third\0", 15));
    const std::string text = WriteParameterFile(m.image, kVersions);
    const std::string tail =
        "\r\nVERSIONS\r\nHEX   5.11.2008  09:05   RS-2007 1234\r\nEXE  Jan  5 2024   12:34:56\r\n"
        "\r\nMEMO         \r\nfirst\r\n\r\n  third";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(NoteLines(m.image), (std::vector<std::string>{"first", "", "  third"}));

    SetNote(m.image, "");
    EXPECT_TRUE(NoteLines(m.image).empty());
    const std::string empty = WriteParameterFile(m.image, kVersions);
    EXPECT_EQ(empty.substr(empty.size() - 15), "\r\nMEMO         ");

    // A line break inside a unit string would open a line of its own in the file.
    VersionStrings odd = kVersions;
    odd.unitName = "A\r\nMEMO";
    EXPECT_NE(WriteParameterFile(m.image, odd).find("09:05   A  MEMO\r\n"), std::string::npos);
}

// ---- Round trips ----

TEST(ParameterFileRoundTrip, DefaultsOfEveryBikeComeBackWhole) {
    for (int code = 0; code < kBikeCodeCount; ++code) {
        const Model source = DefaultsOf(code);
        const std::string text = WriteParameterFile(source.image, kVersions);
        for (const std::string& variant : {text, Lf(text)}) {
            Model target = DefaultsOf(11);
            const Read r = ReadInto(target, variant);
            ASSERT_EQ(r.version, 74) << "bike " << code;
            EXPECT_TRUE(r.warnings.empty());
            for (int n = 0; n < kImageSize; ++n) {
                // Flags above 1 come back as 1; nothing else may differ.
                std::uint8_t expected = source.image.byte(n);
                if (n == 58 || n == 59 || n == 62 || n == 63 || n == 66 || n == 98 || n == 107)
                    expected = expected != 0;
                ASSERT_EQ(target.image.byte(n), expected) << "bike " << code << " byte " << n;
            }
            EXPECT_EQ(WriteParameterFile(target.image, kVersions), text) << "bike " << code;
        }
    }
}

TEST(ParameterFileRoundTrip, FlagsAboveOneAreWrittenAsOne) {
    Model source = DefaultsOf(11);
    source.image.setByte(59, 2);
    source.image.setByte(22, 2);  // a flag written as a plain value keeps its byte
    Model target = DefaultsOf(11);
    ReadInto(target, WriteParameterFile(source.image, kVersions));
    EXPECT_EQ(target.image.byte(59), 1);
    EXPECT_EQ(target.image.byte(22), 2);
}

// ---- The reader ----

TEST(ParameterFileReader, ValueConversions) {
    struct Case {
        const char* text;
        int imageByte;
        int expected;
    };
    const Case cases[] = {
        {"RPM 1 -5", 37, 95},                 // signed: 65531 + 100, low 8 bits
        {"TPS 1100 4960", 34, 246},           // (4960 - 2500) / 10
        {"TPS 1100 2400", 34, 246},           // (2400 - 2500) / 10 = -10, low 8 bits
        {"LIMITER 1099 0 0 0 0", 28, 10},     // remainder dropped
        {"LIMITER2 65636", 39, 1},            // low 16 bits: 100
        {"COOLING 300", 35, 44},              // low 8 bits of a byte field
        {"CHOKE 1 2 3 4 150 0 0 0", 71, 50},  // + 100 undone
        {"DISPLAY 1", 107, 1},
        {"COOLING +7", 35, 7},
    };
    for (const Case& c : cases) {
        Model m = DefaultsOf(11);
        ReadInto(m, std::string("TORVANIC_KEY 74\n") + c.text);
        EXPECT_EQ(m.image.byte(c.imageByte), c.expected) << c.text;
    }
    Model m = DefaultsOf(11);
    ReadInto(m, "TORVANIC_KEY 74 APS_IAPS 1 2 3 -1 70000 6 7 8");
    EXPECT_EQ(m.image.word(6), 65535);
    EXPECT_EQ(m.image.word(7), 70000 - 65536);
}

TEST(ParameterFileReader, MissingOrBadValuesRepeatTheLastNumber) {
    Model m = DefaultsOf(11);
    // Truncated inside LIMITER: the remaining fields take 2000.
    ReadInto(m, "TORVANIC_KEY 74\r\nLIMITER 1000 2000");
    EXPECT_EQ(m.image.byte(28), 10);
    EXPECT_EQ(m.image.byte(29), 20);
    EXPECT_EQ(m.image.byte(30), 20);
    EXPECT_EQ(m.image.byte(31), 20);
    EXPECT_EQ(m.image.byte(32), 2000 & 0xFF);

    // A key word where a value belongs fills the rest with the last number and is then read.
    m = DefaultsOf(11);
    ReadInto(m, "TORVANIC_KEY 74 LIMITER 1000 RPM 3 -5");
    EXPECT_EQ(m.image.byte(31), 10);
    EXPECT_EQ(m.image.byte(36), 3);
    EXPECT_EQ(m.image.byte(37), 95);

    // A lone sign is no number.
    m = DefaultsOf(11);
    ReadInto(m, "TORVANIC_KEY 74 LIMITER2 - COOLING 9");
    EXPECT_EQ(m.image.byte(39), 0);  // 74 / 100
    EXPECT_EQ(m.image.byte(35), 9);
}

TEST(ParameterFileReader, AFileWithoutBikeChangesOnlyItsOwnSections) {
    const Model before = DefaultsOf(11);
    Model m = before;
    const Read r =
        ReadInto(m, "garbage TORVANIC_KEY 74\nLIMITER 1000 2000 3000 4000 5\nSTRAY 12 words\n");
    EXPECT_EQ(r.version, 74);
    for (int n = 0; n < kImageSize; ++n)
        if (n < 28 || n > 32) {
            ASSERT_EQ(m.image.byte(n), before.image.byte(n)) << "byte " << n;
        }
    EXPECT_EQ(m.image.byte(32), 5);
}

TEST(ParameterFileReader, BikeLoadsThatBikesDefaultsBeforeTheRest) {
    Model m = DefaultsOf(11);
    ReadInto(m, "TORVANIC_KEY 74 BIKE 5 LIMITER2 3000");
    Model expected = DefaultsOf(11);
    expected.image.setByte(0, 5);
    LoadDefaults(kAllPages, expected.image, expected.maps, expected.bike);
    expected.image.setByte(39, 30);
    EXPECT_EQ(m.image, expected.image);
    EXPECT_EQ(m.bike.tables.advanceAxis, expected.bike.tables.advanceAxis);

    // A code outside the catalogue is stored, but no defaults exist to load.
    Model odd = DefaultsOf(11);
    ReadInto(odd, "TORVANIC_KEY 74 BIKE 99");
    Model oddExpected = DefaultsOf(11);
    oddExpected.image.setByte(0, 99);
    EXPECT_EQ(odd.image, oddExpected.image);
}

// Source for the filter cases: bike 11's defaults with every filed value moved, so that each
// section's effect shows; the fixed-width flags toggle between 0 and 1.
Model MovedDefaults() {
    Model m = DefaultsOf(11);
    for (const Field& field : Fields()) {
        if (!field.filed() || field.kind == FieldKind::BikeCode || field.kind == FieldKind::Note)
            continue;
        for (int e = 0; e < field.count; ++e) {
            const int n = field.elementByte(e);
            const bool fixedFlag =
                n == 58 || n == 59 || n == 62 || n == 63 || n == 66 || n == 98 || n == 107;
            const int stored = StoredValue(m.image, field, e);
            SetStoredValue(m.image, field, e, fixedFlag ? !stored : stored + 1);
        }
    }
    SetNote(m.image, std::string_view("moved\0note", 10));
    return m;
}

TEST(ParameterFileReader, PageFilterReadsOnlyThatPagesSections) {
    const Model source = MovedDefaults();
    const std::string text = WriteParameterFile(source.image, kVersions);
    struct Case {
        int filter;
        int coupling;  // image byte 47 of the target
        bool reads;
    };
    std::vector<Case> cases;
    for (int p = 0; p < kEditorPageCount; ++p) cases.push_back({p, 0, true});
    for (int p : {3, 4, 5}) cases.push_back({p, 1, false});
    cases.push_back({2, 1, true});
    cases.push_back({kEditorPageCount, 0, false});

    for (const Case& c : cases) {
        Model before = DefaultsOf(11);
        before.image.setByte(47, static_cast<std::uint8_t>(c.coupling));
        Model m = before;
        EXPECT_EQ(ReadInto(m, text, c.filter).version, 74);
        for (int n = 0; n < kImageSize; ++n) {
            const Field* field = FieldAt(n);
            const FileSection* section = field->filed() ? FindSection(field->section) : nullptr;
            const bool inPage = c.reads && section != nullptr && section->group == c.filter &&
                                field->kind != FieldKind::BikeCode;
            const std::uint8_t expected = inPage ? source.image.byte(n) : before.image.byte(n);
            ASSERT_EQ(m.image.byte(n), expected)
                << "filter " << c.filter << " coupling " << c.coupling << " byte " << n;
        }
    }
}

TEST(ParameterFileReader, VersionSearchAndWarnings) {
    struct Case {
        const char* text;
        int version;
        std::vector<MsgId> warnings;
        bool limiterRead;
    };
    const std::vector<Case> cases = {
        {"TORVANIC_KEY 74 LIMITER2 3000", 74, {}, true},
        {"TORVANIC_KEY 73 LIMITER2 3000", 73, {MsgIgnOlderVersion}, true},
        {"TORVANIC_KEY 65 LIMITER2 3000", 65, {MsgIgnOlderVersion}, true},
        {"TORVANIC_KEY 80 LIMITER2 3000 TORVANIC_KEY 74 LIMITER2 3000",
         74,
         {MsgIgnVersionError},
         true},
        {"TORVANIC_KEY 80 LIMITER2 3000", 0, {MsgIgnVersionError}, false},
        {"TORVANIC_KEY 72 TORVANIC_KEY 70", 0, {MsgIgnVersionError, MsgIgnVersionError}, false},
        {"TORVANIC_KEY 65610 LIMITER2 3000", 0, {MsgIgnVersionError}, false},  // 74 + 65536
        {"LIMITER2 3000", 0, {}, false},
        {"", 0, {}, false},
        {"torvanic_key 74 LIMITER2 3000", 0, {}, false},   // keys are case-sensitive
        {"LIMITER2 3000 TORVANIC_KEY 74", 74, {}, false},  // before the key nothing is read
    };
    for (const Case& c : cases) {
        Model m = DefaultsOf(11);
        const ParameterImage before = m.image;
        const Read r = ReadInto(m, c.text);
        EXPECT_EQ(r.version, c.version) << c.text;
        EXPECT_EQ(r.warnings, c.warnings) << c.text;
        EXPECT_EQ(m.image.byte(39) == 30, c.limiterRead) << c.text;
        if (c.version == 0) {
            EXPECT_EQ(m.image, before) << c.text;
        }
    }
}

TEST(ParameterFileReader, OlderVersionsSkipTheirMissingSectionsAndScaleClutchTimes) {
    // One value of each version-dependent section; the clutch master time 50.
    const std::string body =
        " WATER_TEMP_SENSOR 1 1 1 1 1 1 1 1 1"
        " AIR_TEMP_SENSOR 2 2 2 2 2 2 2 2 2"
        " IDLE 3 300 3 1 250 3 30 3 3 3 3 3 3 3 3 3 3 1 3 3 3 150 150 150 150 150 150 150 150 150"
        " CLUTCH 1 2000 50 3 50 50 50 50 50 50 500 500 500 500 500 500"
        " TUNING 0 40 5 140 4 30 2 2 20";
    struct Case {
        int version;
        bool water, air, idle, tuning;
        int clutchTime;
    };
    const Case cases[] = {
        {74, true, true, true, true, 10},    {73, true, true, true, false, 10},
        {71, true, true, true, false, 10},   {69, true, true, false, false, 5},
        {68, true, false, false, false, 5},  {66, true, false, false, false, 5},
        {65, false, false, false, false, 5},
    };
    for (const Case& c : cases) {
        Model m = DefaultsOf(11);
        const ParameterImage before = m.image;
        ReadInto(m, "TORVANIC_KEY " + std::to_string(c.version) + body);
        EXPECT_EQ(m.image.word(97) == 1, c.water) << c.version;
        EXPECT_EQ(m.image.word(97), c.water ? 1 : before.word(97)) << c.version;
        EXPECT_EQ(m.image.word(106) == 2, c.air) << c.version;
        EXPECT_EQ(m.image.byte(290) == 3, c.idle) << c.version;
        EXPECT_EQ(m.image.byte(292), c.idle ? 3 : before.byte(292)) << c.version;
        EXPECT_EQ(m.image.byte(345) == 4, c.tuning) << c.version;
        EXPECT_EQ(m.image.byte(340), c.tuning ? 0 : before.byte(340)) << c.version;
        for (int n = 121; n <= 126; ++n) EXPECT_EQ(m.image.byte(n), c.clutchTime) << c.version;
        EXPECT_EQ(m.image.byte(127), 50) << c.version;  // pauses keep x 10
        EXPECT_EQ(m.image.byte(135), 3) << c.version;
    }
}

TEST(ParameterFileReader, ServoMapScaleFollowsThePercentFlagReadBeforeIt) {
    Model m = DefaultsOf(11);
    m.image.setByte(63, 1);
    std::string map;
    for (int i = 0; i < kMapCells; ++i) map += " 100";
    ReadInto(m, "TORVANIC_KEY 74 SERVO_IN 1 0 100 1 0 8 2000 SERVO_IN_VALUE" + map);
    EXPECT_EQ(m.image.byte(63), 0);
    EXPECT_EQ(m.image.byte(2550), 5);
    EXPECT_EQ(m.image.byte(2699), 5);
}

TEST(ParameterFileReader, Note) {
    struct Case {
        const char* what;
        std::string afterKey;
        std::string note;  // image bytes 2700.. up to the first of the trailing zeros
        int filter = kReadAllPages;
    };
    const std::vector<Case> cases = {
        {"CR LF lines", "\r\nfirst\r\nsecond", std::string("first\0second", 12)},
        {"LF lines", "\nfirst\nsecond", std::string("first\0second", 12)},
        {"leading blanks and empty lines are lost", "   \r\n\r\n  first\r\n   \r\nlast",
         std::string("first\0   \0last", 14)},
        {"empty line inside", "\r\na\r\n\r\nb", std::string("a\0\0b", 4)},
        {"8-bit bytes kept", "\r\n\xe8\x9a\xb9", "\xe8\x9a\xb9"},
        {"too long: cut at 149", "\r\n" + std::string(400, 'x'), std::string(149, 'x')},
        {"filter 0 reads the note", "\r\nnote", "note", 0},
    };
    for (const Case& c : cases) {
        Model m = DefaultsOf(11);
        SetNote(m.image, "old");
        ReadInto(m, "TORVANIC_KEY 74\r\nMEMO         " + c.afterKey, c.filter);
        std::string expected = c.note;
        expected.resize(150, '\0');
        EXPECT_EQ(NoteBytes(m.image), expected) << c.what;
    }

    // Under another page's filter MEMO is passed over and the note text read as tokens.
    Model m = DefaultsOf(11);
    SetNote(m.image, "old");
    ReadInto(m, "TORVANIC_KEY 74 MEMO hello COOLING 50", kPageBike + 1);
    EXPECT_EQ(NoteBytes(m.image).substr(0, 4), std::string("old\0", 4));
    ReadInto(m, "TORVANIC_KEY 74 MEMO hello COOLING 50", kPageBike);
    EXPECT_EQ(m.image.byte(35), 100);  // the note ends the reading
}

TEST(ParameterFileReader, ATokenLongerThanAnyBufferIsOneToken) {
    Model m = DefaultsOf(11);
    const std::string longWord(5000, 'L');
    const Read r = ReadInto(m, "TORVANIC_KEY 74 " + longWord + " COOLING 77 LIMITER2" +
                                   std::string(3000, '9') + " " + longWord + "COOLING 1");
    EXPECT_EQ(r.version, 74);
    EXPECT_EQ(m.image.byte(35), 77);
}

// ---- Files on disk ----

class ParameterFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kestrin_pf_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(ParameterFileOnDisk, SaveReplacesTheFileWholeAndOpenReadsItBack) {
    const Model source = DefaultsOf(20);
    const auto path = dir_ / "data.ign";
    ASSERT_TRUE(WriteFileBytes(path, "old content that is longer than nothing"));
    ASSERT_TRUE(SaveParameterFile(path, source.image, kVersions));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, WriteParameterFile(source.image, kVersions));
    // Only the file itself remains: no temporary beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator()),
              1);

    Model target = DefaultsOf(11);
    EXPECT_EQ(OpenParameterFile(path, target.image, target.maps, target.bike, kReadAllPages, {}),
              74);
    EXPECT_EQ(target.image, source.image);
}

TEST_F(ParameterFileOnDisk, FailuresAreReportedAndLeaveNothingBehind) {
    Model m = DefaultsOf(11);
    EXPECT_FALSE(
        OpenParameterFile(dir_ / "missing.ign", m.image, m.maps, m.bike, kReadAllPages, {}));
    EXPECT_FALSE(SaveParameterFile(dir_ / "no_folder" / "data.ign", m.image, kVersions));
    // A folder in the way of the target: the rename fails and the temporary is removed.
    std::filesystem::create_directories(dir_ / "taken.ign" / "inside");
    EXPECT_FALSE(SaveParameterFile(dir_ / "taken.ign", m.image, kVersions));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "taken.ign.saving"));
}

}  // namespace
}  // namespace kestrin

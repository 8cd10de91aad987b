#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "model/FieldTable.h"
#include "model/InjectionMaps.h"

namespace kestrin {
namespace {

std::set<int> BytesOfKind(FieldKind kind) {
    std::set<int> bytes;
    for (const Field& f : Fields())
        if (f.kind == kind)
            for (int n = f.first; n <= f.last(); ++n) bytes.insert(n);
    return bytes;
}

std::set<int> Range(std::initializer_list<std::pair<int, int>> runs) {
    std::set<int> bytes;
    for (auto [from, to] : runs)
        for (int n = from; n <= to; ++n) bytes.insert(n);
    return bytes;
}

std::string Where(const Field& f) {
    return "field at byte " + std::to_string(f.first) + " (" + std::string(f.section) + ")";
}

TEST(FieldTableInvariants, EveryImageByteIsCoveredExactlyOnce) {
    std::vector<int> cover(kImageSize, 0);
    for (const Field& f : Fields()) {
        ASSERT_GE(f.first, 0) << Where(f);
        ASSERT_LT(f.last(), kImageSize) << Where(f);
        ASSERT_GE(f.count, 1) << Where(f);
        for (int n = f.first; n <= f.last(); ++n) ++cover[static_cast<std::size_t>(n)];
    }
    for (int n = 0; n < kImageSize; ++n)
        EXPECT_EQ(cover[static_cast<std::size_t>(n)], 1) << "image byte " << n;
}

TEST(FieldTableInvariants, FieldsAreInImageOrderAndFieldAtFindsThem) {
    int next = 0;
    for (const Field& f : Fields()) {
        EXPECT_EQ(f.first, next) << Where(f);
        next = f.last() + 1;
        EXPECT_EQ(FieldAt(f.first), &f) << Where(f);
        EXPECT_EQ(FieldAt(f.last()), &f) << Where(f);
    }
    EXPECT_EQ(FieldAt(-1), nullptr);
    EXPECT_EQ(FieldAt(kImageSize), nullptr);
    EXPECT_EQ(KindOfByte(kImageSize), ByteKind::Outside);
}

TEST(FieldTableInvariants, WordFieldsStartOnEvenBytes) {
    for (const Field& f : Fields())
        if (f.width == Width::Word) {
            EXPECT_EQ(f.first % 2, 0) << Where(f);
        }
}

TEST(FieldTableInvariants, ReservedBytesAreExactlyTheUnusedOnes) {
    const std::set<int> expected = Range({{1, 1},
                                          {79, 79},
                                          {139, 139},
                                          {186, 190},
                                          {248, 251},
                                          {275, 289},
                                          {297, 297},
                                          {316, 316},
                                          {341, 341},
                                          {343, 343},
                                          {349, 349},
                                          {378, 383},
                                          {404, 404}});
    EXPECT_EQ(BytesOfKind(FieldKind::Reserved), expected);
}

TEST(FieldTableInvariants, EngineConstantsAreExactlyTheBikeDerivedBytes) {
    const std::set<int> expected = Range({{2, 5}, {191, 193}, {230, 247}, {252, 274}});
    EXPECT_EQ(BytesOfKind(FieldKind::EngineConstant), expected);
}

TEST(FieldTableInvariants, OnlyEngineConstantsAndReservedBytesStayOutOfTheFileAndEditor) {
    for (const Field& f : Fields()) {
        const bool hidden = f.kind == FieldKind::EngineConstant || f.kind == FieldKind::Reserved;
        EXPECT_EQ(f.filed(), !hidden) << Where(f);
        EXPECT_EQ(f.page == kNoPage, hidden) << Where(f);
        EXPECT_EQ(f.controlForm == ControlForm::None, hidden) << Where(f);
        if (!hidden) {
            EXPECT_LT(f.page, kEditorPageCount) << Where(f);
        }
    }
}

// A field is read by "open for actual page" with the group of its section, so the page the
// field is shown on must be that group; BIKE is read only by a full open.
TEST(FieldTableInvariants, SectionsAreKnownAndMatchTheFieldPage) {
    for (const Field& f : Fields()) {
        if (!f.filed()) continue;
        const FileSection* section = FindSection(f.section);
        ASSERT_NE(section, nullptr) << Where(f);
        if (f.section == "BIKE")
            EXPECT_EQ(f.page, kPageBike);
        else
            EXPECT_EQ(f.page, section->group) << Where(f);
    }
    for (const FileSection& s : FileSections()) {
        const bool holdsImage = s.key != "TORVANIC_KEY" && s.key != "VERSIONS";
        EXPECT_EQ(FindField(s.key) != nullptr, holdsImage) << s.key;
    }
}

TEST(FieldTableInvariants, KindsCarryTheirConversions) {
    for (const Field& f : Fields()) {
        switch (f.kind) {
            case FieldKind::Signed:
                EXPECT_EQ(f.editor.scale, 1) << Where(f);
                EXPECT_EQ(f.editor.offset, -100) << Where(f);
                break;
            case FieldKind::RpmAxis:
                EXPECT_EQ(f.count, kMapColumns) << Where(f);
                EXPECT_EQ(f.editor.scale, 100) << Where(f);
                break;
            case FieldKind::Flag:
            case FieldKind::Choice:
            case FieldKind::BikeCode:
            case FieldKind::Note:
                EXPECT_EQ(f.editor.scale, 1) << Where(f);
                EXPECT_EQ(f.editor.offset, 0) << Where(f);
                EXPECT_EQ(f.width, Width::Byte) << Where(f);
                break;
            default:
                break;
        }
        EXPECT_NE(f.editor.scale, 0) << Where(f);
        EXPECT_NE(f.file.scale, 0) << Where(f);
    }
}

TEST(FieldTableInvariants, EveryMapPageHasOneMapWithItsOwnAxis) {
    std::set<int> mapPages;
    for (const Field& f : Fields()) {
        if (f.kind != FieldKind::MapCells) {
            EXPECT_EQ(f.axisByte, -1) << Where(f);
            continue;
        }
        EXPECT_EQ(f.count, kMapCells) << Where(f);
        EXPECT_TRUE(mapPages.insert(f.page).second) << "second map on page " << f.page;
        const Field* axis = FieldAt(f.axisByte);
        ASSERT_NE(axis, nullptr) << Where(f);
        EXPECT_EQ(axis->kind, FieldKind::RpmAxis) << Where(f);
        EXPECT_EQ(axis->first, f.axisByte) << Where(f);
        EXPECT_EQ(axis->page, f.page) << Where(f);
    }
    EXPECT_EQ(mapPages, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 11, 12}));
}

TEST(FieldTableInvariants, InjectionMapsAgreeWithTheirTable) {
    for (const InjectionMapInfo& info : kInjectionMaps) {
        const Field* map = FindField(info.section);
        ASSERT_NE(map, nullptr) << info.section;
        EXPECT_EQ(map->kind, FieldKind::MapCells) << info.section;
        EXPECT_EQ(map->width, Width::Word) << info.section;
        EXPECT_EQ(map->first, 2 * info.firstWord) << info.section;
        EXPECT_EQ(map->axisByte, info.rpmAxisByte) << info.section;
    }
}

// Every control element resolves back to itself; a name given twice on one page would resolve
// to the first field and fail here.
TEST(FieldTableInvariants, EveryControlNameResolvesToItsOwnElement) {
    for (const Field& f : Fields()) {
        if (f.controlForm == ControlForm::None) continue;
        const int elements = f.controlForm == ControlForm::Single ? 1 : f.count;
        for (int e = 0; e < elements; ++e) {
            const std::string name = ControlName(f, e);
            const FieldElement found = FindByControl(name, f.page);
            EXPECT_EQ(found.field, &f) << name << " on page " << f.page;
            EXPECT_EQ(found.element, e) << name << " on page " << f.page;
        }
    }
}

struct SpotCase {
    int imageByte;
    const char* section;
    FieldKind kind;
    Width width;
    Conversion editor;
    int page;
    const char* control;  // control of the element holding the byte
    ByteKind byteKind;
};

TEST(FieldTableSpotChecks, BytesResolveToTheirFields) {
    using FK = FieldKind;
    using BK = ByteKind;
    const auto B = Width::Byte;
    const auto W = Width::Word;
    const SpotCase cases[] = {
        {0, "BIKE", FK::BikeCode, B, {}, 0, "ComboBoxBike", BK::Setting},
        {9, "APS_IAPS", FK::Value, W, {}, 10, "EditApsNapeti1", BK::Setting},
        {28, "LIMITER", FK::Value, B, {100, 0}, 0, "EditStartLimiter1", BK::Setting},
        {34, "TPS", FK::Value, B, {10, 2500}, 10, "EditTps100", BK::Setting},
        {37, "RPM", FK::Signed, B, {1, -100}, 0, "EditRpmKorekce", BK::Setting},
        {44, "ADVANCE_MISC", FK::Signed, B, {1, -100}, 1, "EditMapPar[3]", BK::Setting},
        {51, "JET1_MISC", FK::Value, B, {100, 0}, 2, "EditMapPar[3]", BK::Setting},
        {59, "SERVO_IN", FK::Flag, B, {}, 11, "CheckBoxServoEnable", BK::Setting},
        {69, "CHOKE", FK::Value, B, {}, 9, "EditSyticCas3", BK::Setting},
        {74, "CHOKE", FK::Value, B, {1, 100}, 9, "EditSyticKorekce3", BK::Setting},
        {96, "ADVANCE_CORR", FK::Signed, B, {1, -100}, 9, "EditIgnVoda[3]", BK::Setting},
        {123, "CLUTCH", FK::Value, B, {5, 0}, 15, "EditClutchTime[2]", BK::Setting},
        {152, "GEAR", FK::Value, W, {}, 16, "EditGearNapeti[6]", BK::Setting},
        {161, "SPEED_PULSES", FK::Value, W, {}, 16, "EditPulsuProSpeed", BK::Setting},
        {331, "IDLE", FK::Value, W, {}, 13, "UpDownIdleStart", BK::Setting},
        {339, "ACC_CORR", FK::Value, W, {}, 9, "EditAccT0", BK::Setting},
        {375, "LAMBDA_BAR", FK::Value, B, {}, 18, "EditLambdaBar3", BK::Setting},
        {403, "IAP_IAP", FK::Value, W, {}, 7, "EditMapTps[9]", BK::Setting},
        {464, "POSITION_B", FK::Value, B, {5, 0}, 8, "EditPolohaB_Deg[14]", BK::Setting},
        {599, "RPM_SERVO_IN", FK::RpmAxis, B, {100, 0}, 11, "EditMapRpm[14]", BK::RpmAxis},
        {749, "ADVANCE", FK::MapCells, B, {}, 1, "EditMapCell[9][14]", BK::MapCell},
        {750, "JET_1A", FK::MapCells, W, {}, 2, "EditMapCell[0][0]", BK::MapCell},
        {2399, "IAP", FK::MapCells, W, {}, 7, "EditMapCell[9][14]", BK::MapCell},
        {2849, "MEMO", FK::Note, B, {}, 0, "Memo1", BK::Note},
        {1, "", FK::Reserved, B, {}, kNoPage, "", BK::Reserved},
        {252, "", FK::EngineConstant, B, {100, 0}, kNoPage, "", BK::EngineConstant},
    };
    for (const auto& c : cases) {
        const Field* f = FieldAt(c.imageByte);
        ASSERT_NE(f, nullptr) << c.imageByte;
        EXPECT_EQ(f->section, c.section) << c.imageByte;
        EXPECT_EQ(f->kind, c.kind) << c.imageByte;
        EXPECT_EQ(f->width, c.width) << c.imageByte;
        EXPECT_EQ(f->editor.scale, c.editor.scale) << c.imageByte;
        EXPECT_EQ(f->editor.offset, c.editor.offset) << c.imageByte;
        EXPECT_EQ(f->page, c.page) << c.imageByte;
        EXPECT_EQ(ControlName(*f, f->elementOf(c.imageByte)), c.control) << c.imageByte;
        EXPECT_EQ(KindOfByte(c.imageByte), c.byteKind) << c.imageByte;
    }
}

TEST(FieldTableLookups, FindByControl) {
    struct Case {
        const char* name;
        int page;
        int imageByte;  // byte of the element found; -1 when nothing matches
    };
    const Case cases[] = {
        {"EditStartLimiter1", kAnyPage, 28},
        {"EditSyticCas1", kAnyPage, 67},
        {"EditSyticCas4", kAnyPage, 70},
        {"EditSyticCas0", kAnyPage, -1},
        {"EditSyticCas5", kAnyPage, -1},
        {"EditKorVoda", kAnyPage, 80},
        {"EditKorVoda[2]", kAnyPage, 82},
        {"EditKorVoda[5]", kAnyPage, -1},
        {"EditKorVoda[2", kAnyPage, -1},
        {"EditGearPomer[5]", kAnyPage, 172},
        {"CheckBoxServoEnable", kPageIntakeServo, 59},
        {"CheckBoxServoEnable", kPageExhaustServo, 58},
        {"EditMapPar[3]", kPageAdvance, 44},
        {"EditMapPar[3]", kPageInj1A, 51},
        {"EditMapPar[3]", kPageInjIap, 55},
        {"EditMapPar[3]", kPageIntakeServo, 78},
        {"EditMapPar[1]", kPageIntakeServo, -1},
        {"EditMapCell[2][3]", kPageInjB, 1983},
        {"EditMapCell[10][0]", kPageInjB, -1},
        {"Memo1", kAnyPage, 2700},
        {"EditStartLimiter1x", kAnyPage, -1},
        {"EditStartLimiter1", kPageCidla, -1},
        {"", kAnyPage, -1},
    };
    for (const auto& c : cases) {
        const FieldElement found = FindByControl(c.name, c.page);
        if (c.imageByte < 0) {
            EXPECT_EQ(found.field, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(found.field, nullptr) << c.name;
        EXPECT_EQ(found.field->elementByte(found.element), c.imageByte) << c.name;
    }
}

TEST(FieldTableLookups, SectionFieldsNeedNotBeAdjacent) {
    std::vector<int> firsts;
    for (const Field* f : FieldsInSection("N2O")) firsts.push_back(f->first);
    EXPECT_EQ(firsts, (std::vector<int>{98, 99, 100, 101, 102, 103, 104, 105, 106, 158, 159}));
    EXPECT_TRUE(FieldsInSection("NO_SUCH").empty());
    EXPECT_EQ(FindField(""), nullptr);
}

TEST(FieldValues, ServoMapScaleFollowsItsOwnPercentFlag) {
    const Field& ex = *FindField("SERVO_EX_VALUE");
    const Field& in = *FindField("SERVO_IN_VALUE");
    ParameterImage image;
    image.setByte(63, 1);  // intake in percent, exhaust in raw steps
    EXPECT_EQ(EditorConversion(ex, image).scale, 20);
    EXPECT_EQ(EditorConversion(in, image).scale, 1);
    EXPECT_EQ(FileConversion(ex, image, 74).scale, 20);

    SetShownValue(image, ex, 0, 4990);
    EXPECT_EQ(image.byte(2400), 249);
    image.setByte(2401, 250);
    EXPECT_EQ(ShownValue(image, ex, 1), 5000);
    SetShownValue(image, in, 0, 77);
    EXPECT_EQ(image.byte(2550), 77);
}

TEST(FieldValues, FileConversionDiffersWhereTheFileSaysSo) {
    struct Case {
        const char* what;
        int imageByte;
        int version;
        int fileValue;
        int stored;
    };
    const Case cases[] = {
        {"clutch time, version 69", 121, 69, 50, 5},
        {"clutch time, version 71", 121, 71, 50, 10},
        {"clutch time, version 74", 126, 74, 50, 10},
        {"clutch pause keeps x10 in old files", 127, 65, 50, 5},
        {"advance correction as stored", 93, 74, 95, 95},
        {"signed RPM correction -5", 37, 74, 65531, 95},
        {"TPS 100 %", 34, 74, 4960, 246},
        {"word takes the value", 160, 74, 3000, 3000},
    };
    for (const auto& c : cases) {
        const Field& f = *FieldAt(c.imageByte);
        const int element = f.elementOf(c.imageByte);
        ParameterImage image;
        SetFileValue(image, f, element, c.fileValue, c.version);
        EXPECT_EQ(StoredValue(image, f, element), c.stored) << c.what;
    }
}

TEST(FieldValues, WrittenValuesFollowTheFileConversion) {
    ParameterImage image;
    image.setByte(93, 95);  // advance correction: editor shows -5, the file holds 95
    image.setByte(37, 95);  // RPM correction: both show -5
    image.setByte(22, 2);   // flag: the file holds 1 for any set value
    image.setByte(121, 10);
    EXPECT_EQ(ShownValue(image, *FieldAt(93), 0), -5);
    EXPECT_EQ(FileValue(image, *FieldAt(93), 0), 95);
    EXPECT_EQ(FileValue(image, *FieldAt(37), 0), -5);
    EXPECT_EQ(FileValue(image, *FieldAt(22), 0), 1);
    EXPECT_EQ(FileValue(image, *FieldAt(121), 0), 50);
}

TEST(FieldValues, ShownValueStoresByTheConversionRule) {
    ParameterImage image;
    const Field& speed = *FieldAt(160);
    SetShownValue(image, speed, 0, 70000);
    EXPECT_EQ(image.word(80), 4464);
    SetShownValue(image, *FieldAt(34), 0, 2400);
    EXPECT_EQ(image.byte(34), 246);
    EXPECT_EQ(ShownValue(image, *FieldAt(34), 0), 4960);
}

TEST(FieldValues, ElementsOutsideAFieldAreIgnored) {
    ParameterImage image;
    const ParameterImage blank;
    const Field& limiter = *FieldAt(28);
    SetShownValue(image, limiter, 1, 5000);  // would be byte 29, another field
    SetStoredValue(image, limiter, -1, 7);
    EXPECT_EQ(image, blank);
    EXPECT_EQ(StoredValue(image, limiter, 1), 0);
}

}  // namespace
}  // namespace kestrin

#include "editor/core/Note.h"

#include <array>
#include <cstdint>

namespace kestrin::editor {
namespace {

// Unicode code points of the bytes 0x80..0xFF.
constexpr std::array<char32_t, 128> kUpper = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Next code point of a UTF-8 string; a malformed sequence gives one U+FFFD per byte.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return c;
}

}  // namespace

void StoreNote(ParameterImage& image, const std::vector<std::string>& lines) {
    for (int i = 0; i < kNoteBytes; ++i) image.setByte(kNoteFirst + i, 0);
    constexpr int end = kNoteFirst + kNoteBytes - 1;
    int at = kNoteFirst;
    for (const std::string& line : lines) {
        for (char ch : line) {
            if (at >= end) break;
            image.setByte(at++, static_cast<std::uint8_t>(ch));
        }
        if (at >= end) break;
        image.setByte(at++, 0);
    }
    image.setByte(end, 0);
}

std::vector<std::string> LoadNote(const ParameterImage& image) {
    std::vector<std::string> lines;
    int last = kNoteFirst + kNoteBytes - 1;
    while (last >= kNoteFirst && image.byte(last) == 0) --last;
    if (last < kNoteFirst) return lines;
    int at = kNoteFirst;
    while (at <= last) {
        std::string line;
        while (at < kNoteFirst + kNoteBytes && image.byte(at) != 0)
            line += static_cast<char>(image.byte(at++));
        lines.push_back(std::move(line));
        ++at;  // the terminating 0
    }
    return lines;
}

std::string Cp1250FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextCodePoint(utf8, i);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        char byte = '?';
        for (std::size_t k = 0; k < kUpper.size(); ++k)
            if (kUpper[k] == c) {
                byte = static_cast<char>(0x80 + k);
                break;
            }
        out += byte;
    }
    return out;
}

std::string Utf8FromCp1250(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        AppendUtf8(out, b < 0x80 ? char32_t{b} : kUpper[b - 0x80u]);
    }
    return out;
}

}  // namespace kestrin::editor

#pragma once
// The unit's whole parameter set: 2850 bytes, 19 pages of 150 bytes, read as bytes or as
// little-endian words on the same storage.

#include <array>
#include <cstdint>
#include <span>

namespace kestrin {

inline constexpr int kImageSize = 2850;
inline constexpr int kPageSize = 150;
inline constexpr int kPageCount = 19;
inline constexpr int kWordCount = kImageSize / 2;

// Maps: 10 load points (rows) by 15 RPM points (columns); cell = 15 * load + rpm.
inline constexpr int kMapRows = 10;
inline constexpr int kMapColumns = 15;
inline constexpr int kMapCells = kMapRows * kMapColumns;

// Shown value = scale * stored + offset; storing drops the remainder and keeps the low bits.
struct Conversion {
    int scale = 1;
    int offset = 0;

    constexpr int Shown(int stored) const { return scale * stored + offset; }
    constexpr std::uint8_t StoreByte(int shown) const {
        return static_cast<std::uint8_t>(static_cast<unsigned>(Divide(shown)) & 0xFFu);
    }
    constexpr std::uint16_t StoreWord(int shown) const {
        return static_cast<std::uint16_t>(static_cast<unsigned>(Divide(shown)) & 0xFFFFu);
    }

private:
    // A zero scale would be a table fault; it stores the value unscaled rather than trap.
    constexpr int Divide(int shown) const {
        const long long d = static_cast<long long>(shown) - offset;
        return static_cast<int>(scale == 0 ? d : d / scale);
    }
};

class ParameterImage {
public:
    using Bytes = std::array<std::uint8_t, kImageSize>;

    ParameterImage() { bytes_.fill(0); }

    // Out-of-range positions read 0 and ignore writes: image operations never fail.
    std::uint8_t byte(int n) const { return InBytes(n) ? bytes_[static_cast<std::size_t>(n)] : 0; }
    void setByte(int n, std::uint8_t value) {
        if (InBytes(n)) bytes_[static_cast<std::size_t>(n)] = value;
    }

    std::uint16_t word(int k) const {
        if (!InWords(k)) return 0;
        return static_cast<std::uint16_t>(byte(2 * k) | (byte(2 * k + 1) << 8));
    }
    void setWord(int k, std::uint16_t value) {
        if (!InWords(k)) return;
        setByte(2 * k, static_cast<std::uint8_t>(value & 0xFF));
        setByte(2 * k + 1, static_cast<std::uint8_t>(value >> 8));
    }

    // Page p (1..19); pages outside that range give an empty span.
    std::span<const std::uint8_t> page(int p) const {
        if (p < 1 || p > kPageCount) return {};
        return std::span<const std::uint8_t>(bytes_).subspan(
            static_cast<std::size_t>((p - 1) * kPageSize), kPageSize);
    }
    std::span<std::uint8_t> page(int p) {
        if (p < 1 || p > kPageCount) return {};
        return std::span<std::uint8_t>(bytes_).subspan(
            static_cast<std::size_t>((p - 1) * kPageSize), kPageSize);
    }

    // Shown value of a byte or word field, and storing a shown value into it.
    int shownByte(int n, Conversion c) const { return c.Shown(byte(n)); }
    int shownWord(int k, Conversion c) const { return c.Shown(word(k)); }
    void setShownByte(int n, int shown, Conversion c) { setByte(n, c.StoreByte(shown)); }
    void setShownWord(int k, int shown, Conversion c) { setWord(k, c.StoreWord(shown)); }

    // Cell (load l, rpm r) of a byte map starting at image byte `first`, or of a word map
    // starting at image word `first`.
    static constexpr int CellIndex(int load, int rpm) { return kMapColumns * load + rpm; }
    std::uint8_t byteCell(int first, int load, int rpm) const {
        return byte(first + CellIndex(load, rpm));
    }
    void setByteCell(int first, int load, int rpm, std::uint8_t v) {
        setByte(first + CellIndex(load, rpm), v);
    }
    std::uint16_t wordCell(int first, int load, int rpm) const {
        return word(first + CellIndex(load, rpm));
    }
    void setWordCell(int first, int load, int rpm, std::uint16_t v) {
        setWord(first + CellIndex(load, rpm), v);
    }

    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }
    void clear() { bytes_.fill(0); }

    friend bool operator==(const ParameterImage&, const ParameterImage&) = default;

private:
    static constexpr bool InBytes(int n) { return n >= 0 && n < kImageSize; }
    static constexpr bool InWords(int k) { return k >= 0 && k < kWordCount; }

    Bytes bytes_;
};

}  // namespace kestrin

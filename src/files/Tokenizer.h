#pragma once
// Scanning of the parameter text files: white-space separated tokens and decimal numbers, read
// the way the files have always been read, so that hand-edited files keep working. The text is
// 8-bit and is not decoded; bytes above 127 are ordinary token characters.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestrin {

class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : text_(text) {}

    // The next maximal run of non-blank characters, after which all white space (line breaks
    // included) is passed over. Empty only at the end of the text. A token of any length is one
    // token; it is a view into the text, so nothing is copied or cut.
    std::string_view NextToken();

    // Leading white space, an optional sign and decimal digits; the value is kept modulo 2^32
    // and a minus sign negates it modulo 2^32. Without digits nothing but the white space is
    // consumed, the text after it stays for the next token, and the result is false.
    bool NextNumber(std::uint32_t& value);

    // A field value: the next number, or the number read last when none can be read (a
    // missing or non-numeric value repeats the previous one).
    std::uint32_t NextValue();
    std::uint32_t lastNumber() const { return last_; }

    // Everything not yet read.
    std::string_view Rest() const { return text_.substr(pos_); }
    bool AtEnd() const { return pos_ >= text_.size(); }

    static constexpr bool IsBlank(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }

private:
    void SkipBlanks();

    std::string_view text_;
    std::size_t pos_ = 0;
    std::uint32_t last_ = 0;
};

}  // namespace kestrin

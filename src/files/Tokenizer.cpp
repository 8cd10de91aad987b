#include "files/Tokenizer.h"

namespace kestrin {

void Tokenizer::SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
}

std::string_view Tokenizer::NextToken() {
    SkipBlanks();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsBlank(text_[pos_])) ++pos_;
    const std::string_view token = text_.substr(start, pos_ - start);
    SkipBlanks();
    return token;
}

bool Tokenizer::NextNumber(std::uint32_t& value) {
    SkipBlanks();
    std::size_t p = pos_;
    bool negative = false;
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) negative = text_[p++] == '-';
    const std::size_t digitsStart = p;
    std::uint32_t v = 0;
    while (p < text_.size() && text_[p] >= '0' && text_[p] <= '9')
        v = v * 10u + static_cast<std::uint32_t>(text_[p++] - '0');
    if (p == digitsStart) return false;
    pos_ = p;
    value = negative ? 0u - v : v;
    last_ = value;
    return true;
}

std::uint32_t Tokenizer::NextValue() {
    std::uint32_t v = 0;
    return NextNumber(v) ? v : last_;
}

}  // namespace kestrin

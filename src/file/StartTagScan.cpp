#include "file/StartTagScan.h"

namespace flow {

namespace {

// Names longer than this are not counted; no circuit element comes near it.
constexpr std::size_t kLongestName = 64;

bool StartsName(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
}

bool EndsName(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>';
}

} // namespace

void StartTagScan::Feed(std::string_view piece) {
    std::size_t from = 0;
    if (afterOpen_ && !piece.empty()) {
        afterOpen_ = false;
        cut_ = StartsName(piece[0]);
    }
    if (cut_) {
        // The name cut at the end of the last piece goes on until a character ends it.
        while (from < piece.size() && !EndsName(piece[from]) && carry_.size() <= kLongestName)
            carry_ += piece[from++];
        if (from == piece.size() && carry_.size() <= kLongestName) return;
        if (from < piece.size() && EndsName(piece[from]) && carry_.size() <= kLongestName)
            ++counts_[carry_];
        carry_.clear();
        cut_ = false;
    }
    for (std::size_t open = piece.find('<', from); open != std::string_view::npos;
         open = piece.find('<', open + 1)) {
        if (open + 1 == piece.size()) {
            afterOpen_ = true; // the name, if any, starts in the next piece
            return;
        }
        if (!StartsName(piece[open + 1])) continue;
        std::size_t end = open + 1;
        while (end < piece.size() && !EndsName(piece[end]) && end - open <= kLongestName)
            ++end;
        const std::string_view name = piece.substr(open + 1, end - open - 1);
        if (end == piece.size()) {
            if (name.size() <= kLongestName) {
                carry_ = std::string(name);
                cut_ = true;
            }
            return;
        }
        if (EndsName(piece[end]) && name.size() <= kLongestName) ++counts_[std::string(name)];
    }
}

} // namespace flow

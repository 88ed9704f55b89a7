#pragma once
// Counting the start tags in bytes that are not well-formed XML, by name, with no parser: what
// a read that stopped early can still say about the part it did not get to.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace flow {

class StartTagScan {
  public:
    // The bytes in order, in pieces of any size; a tag may be cut between two pieces.
    void Feed(std::string_view piece);
    const std::map<std::string, std::size_t>& Counts() const { return counts_; }

  private:
    std::map<std::string, std::size_t> counts_;
    bool afterOpen_ = false; // the last piece ended with "<"
    bool cut_ = false;       // the last piece ended inside a name, whose start is carry_
    std::string carry_;
};

} // namespace flow

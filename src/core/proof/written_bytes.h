#pragma once
// The bytes a run wrote into the terminal, in the order the link acknowledged them: what a
// verification reads back and what a dry run reports.
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vk930 {

struct WrittenByte {
    int page = 0;
    int offset = 0;
    int value = 0;
    bool operator==(const WrittenByte&) const = default;
};

using WrittenBytes = std::vector<WrittenByte>;

// Appends the bytes of one WriteText, one per character from `offset` on.
void AppendText(WrittenBytes& bytes, int page, int offset, const std::string& text);

// What the terminal must hold after the writes: the last value written at each address.
std::map<std::pair<int, int>, int> FinalValues(const WrittenBytes& bytes);

}  // namespace vk930

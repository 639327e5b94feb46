#pragma once
// Page sources for the parameter tests: two pages in memory, every read recorded in the same
// event list as the lines written, so tests see which value was read before which line.
#include <string>
#include <vector>

#include "link/page_copy.h"
#include "params/page_source.h"
#include "sim/terminal_model.h"

namespace vk930::test {

class MemoryPages : public PageSource {
  public:
    MemoryPages() : MemoryPages(FactoryPages()) {}
    explicit MemoryPages(const std::array<PageBytes, 2>& pages) {
        copy_.Store(0, pages[0]);
        copy_.Store(1, pages[1]);
    }

    Short GetByte(Short page, Short offset) override {
        events.push_back("GetByte(" + std::to_string(page) + "," + std::to_string(offset) + ")");
        return copy_.GetByte(page, offset);
    }
    std::string GetText(Short offset, Short page, Short length) override {
        events.push_back("GetText(" + std::to_string(offset) + "," + std::to_string(page) + "," +
                         std::to_string(length) + ")");
        return copy_.GetText(offset, page, length);
    }

    std::vector<std::string> events;

  private:
    PageCopy copy_;
};

}  // namespace vk930::test

#pragma once
// Page sources for the parameter tests: two pages in memory, every read recorded in the same
// event list as the lines written, so tests see which value was read before which line.
#include <string>
#include <vector>

#include "core/link/page_copy.h"
#include "core/params/page_source.h"
#include "core/terminal/terminal_model.h"

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

// The keyed file of a terminal in its factory state.
inline const std::string kFactoryKeyedFile =
    "HEADING:VK930 HAND TERMINAL \r\n"
    "EXTRAID:0\r\n"
    "LANGUAGE:0\r\n"
    "LEDONOFF:1\r\n"
    "VOL_FREQ:100\r\n"
    "DOT_COMMA:0\r\n"
    "WAIT_TIME:5\r\n"
    "PASSWORD:1234\r\n"
    "SLEEP:30\r\n"
    "VOLUME:4\r\n"
    "MENULANG:0\r\n"
    "RECMODE:0\r\n"
    "USEFORMLOCK:0\r\n"
    "USECUSTOMTXT:0\r\n"
    "FORMLOCKTXT1:FORM LOCKED         \r\n"
    "FORMLOCKTXT2:ASK SUPERVISOR      \r\n"
    "BATTERY:1\r\n"
    "WAKESCAN:1\r\n"
    "KEYSOUND:1\r\n"
    "F1TXT:YES\r\nF1SEND:1\r\n"
    "F2TXT:NO\r\nF2SEND:1\r\n"
    "F3TXT:QTY\r\nF3SEND:0\r\n"
    "F4TXT:PRICE\r\nF4SEND:0\r\n"
    "F5TXT:CODE\r\nF5SEND:0\r\n"
    "F6TXT:ITEM\r\nF6SEND:0\r\n"
    "F7TXT:DEL\r\nF7SEND:0\r\n"
    "F8TXT:BACK\r\nF8SEND:0\r\n"
    "F9TXT:HELP\r\nF9SEND:0\r\n"
    "F10TXT:MENU\r\nF10SEND:0\r\n"
    "END\r\n";

}  // namespace vk930::test

// The escaping of texts for printing: every byte class, UTF-8 boundaries, malformed input.
#include "core/base/printable_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vk930 {
namespace {

struct Case {
    const char* what;
    std::string text;
    std::string printed;
};

void ExpectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) EXPECT_EQ(PrintableText(c.text), c.printed) << c.what;
}

TEST(PrintableText, ControlBytesAndBackslashAreEscaped) {
    ExpectAll({
        {"empty", "", ""},
        {"plain ASCII", "Reading Info OK", "Reading Info OK"},
        {"every other printable ASCII byte", " !\"#~}|{`_^][ZA@?0/", " !\"#~}|{`_^][ZA@?0/"},
        {"NUL inside", std::string("A\0B", 3), "A\\x00B"},
        {"tab", "K\tV", "K\\x09V"},
        {"LF", "AB\nC", "AB\\x0AC"},
        {"CR", "AB\rSYSTEM:0,1,9", "AB\\x0DSYSTEM:0,1,9"},
        {"ESC", "\x1b", "\\x1B"},
        {"0x1F, last below space", "\x1f", "\\x1F"},
        {"DEL", "\x7f", "\\x7F"},
        {"backslash", "A\\B", "A\\\\B"},
        {"a typed escape stays apart from a real one", "\\x1B\x1b", "\\\\x1B\\x1B"},
        {"title and clear-screen sequence", "HEADING:\x1b]0;PWNED\x07\x1b[2J",
         "HEADING:\\x1B]0;PWNED\\x07\\x1B[2J"},
    });
    std::string everyControl;
    for (int b = 0; b < 0x20; ++b) everyControl += static_cast<char>(b);
    std::string expected;
    for (int b = 0; b < 0x20; ++b) {
        static const char kHex[] = "0123456789ABCDEF";
        expected += std::string("\\x") + kHex[b >> 4] + kHex[b & 15];
    }
    EXPECT_EQ(PrintableText(everyControl), expected);
}

TEST(PrintableText, WellFormedUtf8PassesAtEveryLengthAndBoundary) {
    ExpectAll({
        {"U+00A0, first after the C1 controls", "\xc2\xa0", "\xc2\xa0"},
        {"U+00E9 e acute", "caf\xc3\xa9", "caf\xc3\xa9"},
        {"U+07FF, last of two bytes", "\xdf\xbf", "\xdf\xbf"},
        {"U+0800, first of three bytes", "\xe0\xa0\x80", "\xe0\xa0\x80"},
        {"U+D7FF, last before the surrogates", "\xed\x9f\xbf", "\xed\x9f\xbf"},
        {"U+E000, first after the surrogates", "\xee\x80\x80", "\xee\x80\x80"},
        {"U+20AC euro sign", "\xe2\x82\xac", "\xe2\x82\xac"},
        {"U+FFFF, last of three bytes", "\xef\xbf\xbf", "\xef\xbf\xbf"},
        {"U+10000, first of four bytes", "\xf0\x90\x80\x80", "\xf0\x90\x80\x80"},
        {"U+10FFFF, last code point", "\xf4\x8f\xbf\xbf", "\xf4\x8f\xbf\xbf"},
        {"mixed with ASCII", "\xe6\x97\xa5 ok \xf0\x9f\x98\x80",
         "\xe6\x97\xa5 ok \xf0\x9f\x98\x80"},
    });
}

TEST(PrintableText, C1ControlsAreEscapedEvenWhenWellFormed) {
    ExpectAll({
        {"U+0080, first C1", "\xc2\x80", "\\xC2\\x80"},
        {"U+0085 next line",
         "A\xc2\x85"
         "B",
         "A\\xC2\\x85B"},
        {"U+009B CSI, then 2J",
         "\xc2\x9b"
         "2J",
         "\\xC2\\x9B2J"},
        {"U+009F, last C1", "\xc2\x9f", "\\xC2\\x9F"},
    });
}

TEST(PrintableText, MalformedUtf8IsEscapedByteByByte) {
    ExpectAll({
        {"lone continuation byte", "A\x80Z", "A\\x80Z"},
        {"last continuation byte", "\xbf", "\\xBF"},
        {"C0 and C1 never lead (overlong slash)", "\xc0\xaf\xc1\xbf", "\\xC0\\xAF\\xC1\\xBF"},
        {"overlong three bytes", "\xe0\x80\xaf", "\\xE0\\x80\\xAF"},
        {"overlong three bytes, just below U+0800", "\xe0\x9f\xbf", "\\xE0\\x9F\\xBF"},
        {"overlong four bytes", "\xf0\x80\x80\xaf", "\\xF0\\x80\\x80\\xAF"},
        {"overlong four bytes, just below U+10000", "\xf0\x8f\xbf\xbf", "\\xF0\\x8F\\xBF\\xBF"},
        {"surrogate U+D800", "\xed\xa0\x80", "\\xED\\xA0\\x80"},
        {"surrogate U+DFFF", "\xed\xbf\xbf", "\\xED\\xBF\\xBF"},
        {"above U+10FFFF", "\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
        {"F5 to FF never lead", "\xf5\x80\x80\x80\xff\xfe", "\\xF5\\x80\\x80\\x80\\xFF\\xFE"},
        {"two-byte lead at the end", "AB\xc3", "AB\\xC3"},
        {"three-byte sequence cut after two", "\xe2\x82", "\\xE2\\x82"},
        {"four-byte sequence cut after three", "\xf0\x9f\x98", "\\xF0\\x9F\\x98"},
        {"lead followed by ASCII",
         "\xc3"
         "A",
         "\\xC3A"},
        {"lead followed by a control byte", "\xe2\x82\n", "\\xE2\\x82\\x0A"},
        {"lead followed by another lead", "\xc3\xc3\xa9", "\\xC3\xc3\xa9"},
        {"five continuation bytes after a good sequence", "\xc3\xa9\x80\x80", "\xc3\xa9\\x80\\x80"},
        {"Latin-1 text from a terminal page",
         "Gr\xfc\xdf"
         "e",
         "Gr\\xFC\\xDFe"},
    });
}

TEST(PrintableText, NoByteOfTheResultIsAControlByteOrALineEnd) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    const std::string printed = PrintableText(everyByte + everyByte);
    for (char c : printed) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_TRUE(byte >= 0x20 && byte != 0x7F) << static_cast<int>(byte);
    }
}

// What a script reading the output does: `\\` is a backslash, `\xNN` a byte.
std::string Unescape(const std::string& printed) {
    std::string out;
    for (std::size_t at = 0; at < printed.size(); ++at) {
        if (printed[at] != '\\') {
            out += printed[at];
        } else if (printed.at(at + 1) == '\\') {
            out += '\\';
            ++at;
        } else {
            EXPECT_EQ(printed.at(at + 1), 'x') << printed;
            out += static_cast<char>(std::stoi(printed.substr(at + 2, 2), nullptr, 16));
            at += 3;
        }
    }
    return out;
}

TEST(PrintableText, RandomBytesReadBackExactly) {
    std::mt19937 random(930);
    // Mostly bytes near the UTF-8 boundaries, so that sequences of every kind form.
    const std::vector<int> interesting = {0x00, 0x09, 0x0A, 0x0D, 0x1B, 0x5C, 0x78, 0x41,
                                          0x7F, 0x80, 0x9F, 0xA0, 0xBF, 0xC2, 0xDF, 0xE0,
                                          0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i)
            text += static_cast<char>(random() % 2 ? interesting[random() % interesting.size()]
                                                   : static_cast<int>(random() % 256));
        const std::string printed = PrintableText(text);
        ASSERT_EQ(Unescape(printed), text) << printed;
        for (char c : printed)
            ASSERT_TRUE(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) << printed;
    }
}

}  // namespace
}  // namespace vk930

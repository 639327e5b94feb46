// How the operation log shows texts that hold control characters: as visible symbols, each
// entry on its one row, while the entry keeps its text.
#include <QFontMetrics>

#include "core/forms/form_ids.h"
#include "window/log_model.h"
#include "window/main_form.h"
#include "window/text.h"
#include "window_fixture.h"

namespace vk930::test {
namespace {

QString Shown(const QString& text) {
    LogModel model;
    model.Append(text, 2);
    return model.data(model.index(0), Qt::DisplayRole).toString();
}

TEST(LogDisplay, ControlCharactersShowAsTheirPictures) {
    struct Case {
        const char* what;
        QString text;
        QString shown;
    };
    const std::vector<Case> cases = {
        {"plain text", "Reading Info OK", "Reading Info OK"},
        {"text beyond ASCII", QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"),
         QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80")},
        {"backslash stays", "A\\x1B", "A\\x1B"},
        {"NUL", QString(QChar(0)) + "A", QString(QChar(0x2400)) + "A"},
        {"tab", "K\tV", QString("K") + QChar(0x2409) + "V"},
        {"LF and CR", "AB\r\nC", QString("AB") + QChar(0x240D) + QChar(0x240A) + "C"},
        {"ESC sequences", "\x1b]0;PWNED\x07\x1b[2J",
         QString(QChar(0x241B)) + "]0;PWNED" + QChar(0x2407) + QChar(0x241B) + "[2J"},
        {"unit separator 0x1F", "\x1f", QString(QChar(0x241F))},
        {"DEL", "\x7f", QString(QChar(0x2421))},
        {"C1 next line and CSI", QString(QChar(0x85)) + QChar(0x9B) + "2J",
         QString(QChar(0xFFFD)) + QChar(0xFFFD) + "2J"},
        {"first and last C1, then no-break space", QString(QChar(0x80)) + QChar(0x9F) + QChar(0xA0),
         QString(QChar(0xFFFD)) + QChar(0xFFFD) + QChar(0xA0)},
        {"line and paragraph separators", QString("A") + QChar(0x2028) + "B" + QChar(0x2029),
         QString("A") + QChar(0xFFFD) + "B" + QChar(0xFFFD)},
    };
    for (const Case& c : cases) EXPECT_EQ(Shown(c.text), c.shown) << c.what;

    QString everyControl;
    for (char16_t c = 0; c < 0x20; ++c) everyControl += QChar(c);
    const QString shown = Shown(everyControl);
    ASSERT_EQ(shown.size(), 0x20);
    for (char16_t c = 0; c < 0x20; ++c) EXPECT_EQ(shown[c].unicode(), 0x2400 + c);
}

class LogDisplayWindowTest : public WindowTest {};

TEST_F(LogDisplayWindowTest, AHostileFileIsShownOneEntryPerRowWithItsBytesVisible) {
    WindowOptions options;
    options.link = "sim:" + dir.File("terminal.bin");
    Start(options);
    static const char kHostile[] =
        "HEADING:\x1b]0;PWNED\x07\x1b[2J\r\n"
        "F1TXT:A\x1b[31mB\x7f\r\n"
        "NOTE\x00\x08\x08OK\xc2\x9b\r\n"
        "GR\xdc\xdf:Latin-1\r\n"
        "END\r\n";
    const QByteArray hostile(kHostile, sizeof kHostile - 1);  // the NUL included
    ASSERT_TRUE(app->OpenDocumentFile(MakeFile("hostile.pcg", hostile)));
    Click(id::kSetButton);
    const std::vector<LogEntry> log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), (LogEntry{"DONE Succesfully!", 1}));

    const auto echo = [&](const std::string& start) -> std::string {
        for (const LogEntry& entry : log)
            if (entry.text.rfind(start, 0) == 0) return entry.text;
        return "(no entry starts with " + start + ")";
    };
    EXPECT_EQ(echo("HEADING:"), "HEADING:\xe2\x90\x9b]0;PWNED\xe2\x90\x87\xe2\x90\x9b[2J");
    EXPECT_EQ(echo("F1TXT:"), "F1TXT:A\xe2\x90\x9b[31mB\xe2\x90\xa1");
    EXPECT_EQ(echo("NOTE"), "NOTE\xe2\x90\x80\xe2\x90\x88\xe2\x90\x88OK\xef\xbf\xbd");
    // Not UTF-8: shown as Latin-1, as the window shows every terminal's raw text.
    EXPECT_EQ(echo("GR"), "GR\xc3\x9c\xc3\x9f:Latin-1");

    // Every row is one line of the list's own height: nothing in it breaks the line.
    const LogModel& model = app->Form().Log().Model();
    const QFontMetrics metrics(app->Form().Log().font());
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString shown = model.data(model.index(row), Qt::DisplayRole).toString();
        for (QChar c : shown) EXPECT_GE(c.unicode(), 0x20) << ToStd(shown);
        EXPECT_EQ(metrics.boundingRect(QRect(0, 0, 10000, 1000), 0, shown).height(),
                  metrics.height())
            << ToStd(shown);
    }
}

}  // namespace
}  // namespace vk930::test

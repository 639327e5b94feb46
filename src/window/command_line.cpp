#include "window/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include "window/text.h"

namespace vk930 {

namespace {

struct Options {
    QCommandLineOption link{"link",
                            "What every COM port reaches: sim[:STATEFILE][?OPTIONS], a serial "
                            "device, or none. Default: the settings' Device1 to Device8.",
                            "SPEC"};
    QCommandLineOption settings{"settings", "Settings file to use.", "FILE"};
    QCommandLineOption exitWhenShown{"exit-when-shown"};
};

Result<WindowOptions> OptionsFrom(const QCommandLineParser& parser, const Options& o) {
    WindowOptions options;
    options.settingsPath = parser.value(o.settings);
    options.exitWhenShown = parser.isSet(o.exitWhenShown);
    if (parser.isSet(o.link)) options.link = ToStd(parser.value(o.link));
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) return Error{"only one parameter file can be opened"};
    if (!files.isEmpty()) options.file = QFileInfo(files.first()).absoluteFilePath();
    return options;
}

}  // namespace

Result<WindowOptions> ParseWindowCommandLine(const QStringList& arguments) {
    Options o;
    o.exitWhenShown.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineParser parser;
    parser.setApplicationDescription("The VK930 configuration utility.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({o.link, o.settings, o.exitWhenShown});
    parser.addPositionalArgument("file", "A parameter file (.pcg) to open.", "[FILE]");
    if (!parser.parse(arguments)) return Error{ToStd(parser.errorText())};
    if (parser.isSet("help")) parser.showHelp(0);
    if (parser.isSet("version")) parser.showVersion();
    return OptionsFrom(parser, o);
}

}  // namespace vk930

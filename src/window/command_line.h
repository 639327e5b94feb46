#pragma once
// The window's command line:
//   vk930config [--link SPEC] [--settings FILE] [FILE.pcg]
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "core/base/result.h"

namespace vk930 {

struct WindowOptions {
    std::optional<std::string> link;  // --link: what every COM port reaches
    QString settingsPath;             // --settings; empty: the user's settings file
    QString file;                     // the parameter file to open (absolute); empty: none
    bool exitWhenShown = false;       // hidden: end once the window has been painted (benchmarks)
};

// Parses the arguments (the program name first); a bad option gives its message. The link
// spec is not checked here.
// --help and --version print and end the program.
Result<WindowOptions> ParseWindowCommandLine(const QStringList& arguments);

}  // namespace vk930

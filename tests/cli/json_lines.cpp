// Parsing the JSON lines of a vk930ctl --json run.
#include "cli/json_lines.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <sstream>

namespace vk930::test {

// Splits standard output into lines and parses each: a line that is no JSON object, a
// missing last line end, or a stream that does not end with exactly one result (whose exit
// is the process's) fails the test that made the run.
JsonRun Parse(ProgramRun run) {
    JsonRun parsed{std::move(run), {}};
    const std::string& out = parsed.run.out;
    EXPECT_TRUE(out.empty() || out.back() == '\n') << "a cut line: " << out;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << "not JSON: " << line;
        EXPECT_TRUE(doc.isObject()) << "not an object: " << line;
        EXPECT_TRUE(doc.object().value("event").isString()) << "no event: " << line;
        parsed.events.push_back(doc.object());
    }
    EXPECT_EQ(parsed.Of("result").size(), 1u) << out;
    const QJsonObject result = parsed.Result();
    EXPECT_EQ(result.value("event").toString(), "result") << "the result comes last: " << out;
    EXPECT_EQ(result.value("exit").toInt(-1), parsed.run.exitCode) << out << parsed.run.err;
    EXPECT_TRUE(result.value("outcome").isString() && result.value("detail").isString());
    return parsed;
}

}  // namespace vk930::test

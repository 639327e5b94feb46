#pragma once
// The standard output of a `vk930ctl --json` run, parsed line by line; a line that is no JSON
// object, a cut last line, or a stream that does not end with exactly one result whose exit is
// the process's fails the test that made the run.
#include <QJsonObject>
#include <vector>

#include "support/run_program.h"

namespace vk930::test {

struct JsonRun {
    ProgramRun run;
    std::vector<QJsonObject> events;  // every line of standard output, in order

    std::vector<QJsonObject> Of(const char* name) const {
        std::vector<QJsonObject> found;
        for (const QJsonObject& e : events)
            if (e.value("event").toString() == name) found.push_back(e);
        return found;
    }
    QJsonObject Result() const { return events.empty() ? QJsonObject() : events.back(); }
    // The position of the first event of that name; -1 when there is none.
    int IndexOf(const char* name) const {
        for (std::size_t i = 0; i < events.size(); ++i)
            if (events[i].value("event").toString() == name) return static_cast<int>(i);
        return -1;
    }
};

JsonRun Parse(ProgramRun run);

}  // namespace vk930::test

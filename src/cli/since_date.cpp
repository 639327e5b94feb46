// Reading the DATE of `history --since`.
#include "cli/since_date.h"

#include <QRegularExpression>

namespace vk930 {

std::optional<QDateTime> ParseSinceDate(const QString& text) {
    // Qt's own ISO reading takes "2026-12-08T23:59" for the day alone, and so drops the time.
    static const QRegularExpression kForm(
        R"(^(\d{4})-(\d{2})-(\d{2})(?:[T ](\d{2}):(\d{2})(?::(\d{2}))?)?$)");
    const QRegularExpressionMatch match = kForm.match(text);
    if (!match.hasMatch()) return std::nullopt;
    auto number = [&match](int group) { return match.captured(group).toInt(); };
    const QDate day(number(1), number(2), number(3));
    if (!day.isValid()) return std::nullopt;
    if (!match.hasCaptured(4)) return day.startOfDay();
    const QTime time(number(4), number(5), match.hasCaptured(6) ? number(6) : 0);
    if (!time.isValid()) return std::nullopt;
    const QDateTime moment(day, time);
    // A time the clocks skipped (the hour a summer time begins) is no time of that day.
    if (!moment.isValid() || moment.time() != time) return std::nullopt;
    return moment;
}

}  // namespace vk930

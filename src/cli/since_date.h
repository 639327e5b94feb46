#pragma once
// The DATE of `history --since`: a day, or a day and a time of day, in local time.
#include <QDateTime>
#include <QString>
#include <optional>

namespace vk930 {

// 2026-12-07 (from the start of that day), 2026-12-07T15:30 or 2026-12-07T15:30:05 (a space
// may stand for the T). Nothing else: a text with more, a day or a time that does not exist
// gives nullopt, so a typo never widens the history shown.
std::optional<QDateTime> ParseSinceDate(const QString& text);

}  // namespace vk930

#pragma once
// Calendar dates as the options file stores them: in the user's short date
// format, compared by whole days.
#include <optional>
#include <string>

#include "platform/clock.h"

namespace trovik {

// Days since 1970-01-01 (negative before).
long long dayNumber(const Date& d);
// Reads a date written in a short date pattern ("dd/MM/yyyy", "M/d/yy", ...):
// three numbers in the pattern's order of day, month and year, separated by
// anything else. Nothing for text that is not such a date.
std::optional<Date> parseShortDate(const std::string& text, const std::string& pattern);

}  // namespace trovik

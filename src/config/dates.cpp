#include "config/dates.h"

#include <array>
#include <cctype>

namespace trovik {

long long dayNumber(const Date& d) {
  // Days from civil, in the proleptic Gregorian calendar.
  const long long y = d.year - (d.month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long mp = (d.month + 9) % 12;
  const long long doy = (153 * mp + 2) / 5 + d.day - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

namespace {
bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int daysIn(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && leap(y) ? 29 : kDays[m - 1];
}
}  // namespace

std::optional<Date> parseShortDate(const std::string& text, const std::string& pattern) {
  // The order of the fields: the first d, M and y of the pattern.
  std::array<char, 3> order{};
  int fields = 0;
  for (char c : pattern) {
    const char f = c == 'd' || c == 'D' ? 'd' : c == 'M' || c == 'm' ? 'M' : c == 'y' || c == 'Y' ? 'y' : 0;
    if (!f) continue;
    bool seen = false;
    for (int i = 0; i < fields; ++i) seen = seen || order[static_cast<size_t>(i)] == f;
    if (!seen && fields < 3) order[static_cast<size_t>(fields++)] = f;
  }
  if (fields != 3) order = {'d', 'M', 'y'};

  std::array<long long, 3> numbers{};
  std::array<int, 3> digits{};
  int count = 0;
  for (size_t i = 0; i < text.size();) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
      if (text[i] != ' ' && std::isalnum(static_cast<unsigned char>(text[i]))) return std::nullopt;
      ++i;
      continue;
    }
    if (count == 3) return std::nullopt;
    long long n = 0;
    int len = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      if (++len > 4) return std::nullopt;
      n = n * 10 + (text[i++] - '0');
    }
    numbers[static_cast<size_t>(count)] = n;
    digits[static_cast<size_t>(count++)] = len;
  }
  if (count != 3) return std::nullopt;
  Date d;
  for (size_t i = 0; i < 3; ++i) {
    const int v = static_cast<int>(numbers[i]);
    if (order[i] == 'd') d.day = v;
    if (order[i] == 'M') d.month = v;
    if (order[i] == 'y') d.year = digits[i] <= 2 ? (v < 50 ? 2000 + v : 1900 + v) : v;
  }
  if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > daysIn(d.year, d.month))
    return std::nullopt;
  return d;
}

}  // namespace trovik

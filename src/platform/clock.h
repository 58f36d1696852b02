#pragma once
// The calendar and the wall clock.
#include <string>

namespace trovik {

struct Date {
  int year = 0, month = 0, day = 0;
};

// The calendar as the user's locale writes it.
class Clock {
 public:
  virtual ~Clock() = default;
  // GetLocalTime: today's date.
  virtual Date today() = 0;
  // GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE): the short date text.
  virtual std::string formatShortDate(const Date& d) = 0;
  // Sleep(ms).
  virtual void sleep(int ms) = 0;
  // GetLocaleInfoA(LOCALE_SSHORTDATE): the pattern of the short date, such
  // as "dd/MM/yyyy" or "M/d/yyyy".
  virtual std::string shortDatePattern() = 0;
};

}  // namespace trovik

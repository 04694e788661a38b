// The calendar arithmetic of the spoken date (no sound).
#include "numbers/tlHora.hpp"

namespace teluma::numbers {

int32_t WeekdayOf(int32_t day, int32_t month, int32_t year) {
  // Days counted from a fixed Sunday through the civil calendar (valid for any year).
  const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t mp = (static_cast<int64_t>(month) + 9) % 12;
  const int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t days = era * 146097 + doe - 719468;  // 0 = 1 January 1970, a Thursday
  return static_cast<int32_t>(((days + 4) % 7 + 7) % 7);
}

}  // namespace teluma::numbers

// Time and date of the system clock, as the console reports them.
#include "console/TlCrt.hpp"
#include "numbers/tlHora.hpp"

using namespace teluma::console;

namespace teluma::numbers {

void SpeakCurrentTime() {
  uint16_t hour = 0, minute = 0, second = 0, hundredths = 0;
  CurrentTime(hour, minute, second, hundredths);
  SpeakTime(hour, minute);
}

void SpeakCurrentDate() {
  uint16_t year = 0, month = 0, day = 0, weekday = 0;
  CurrentDate(year, month, day, weekday);
  SpeakDate(day, month, year);
}

}  // namespace teluma::numbers

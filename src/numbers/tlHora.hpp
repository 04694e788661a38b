// Spoken clock time and date (module tlHora), entirely from recorded phrases of the letters
// folder. Nothing is written on the screen.
#pragma once
#include <cstdint>

namespace teluma::numbers {

// "vinte e duas horas, trinta minutos": the hour count is feminine, whole hours have no minutes.
void SpeakTime(int32_t hours, int32_t minutes);
void SpeakCurrentTime();

// Weekday, day ("_primeir" for the first), "_de", month, "_de", year.
void SpeakDate(int32_t day, int32_t month, int32_t year);
void SpeakCurrentDate();

// Day of the week of a date of the Gregorian calendar, 0 = Sunday ... 6 = Saturday.
int32_t WeekdayOf(int32_t day, int32_t month, int32_t year);

}  // namespace teluma::numbers

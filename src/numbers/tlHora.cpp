// Spoken clock time and date from recorded phrases.
#include <array>

#include "numbers/tlHora.hpp"
#include "numbers/tllenum.hpp"
#include "playback/tlwin_playback.hpp"

namespace {

constexpr std::array<const char*, 7> kWeekdays{"_Domingo", "_Segunda", "_Terca", "_Quarta",
                                               "_Quinta",  "_Sexta",   "_Sabado"};
constexpr std::array<const char*, 12> kMonths{"_Janeiro", "_Feverei", "_Marco",   "_Abril",
                                              "_Maio",    "_Junho",   "_Julho",   "_Agosto",
                                              "_Setembr", "_Outubro", "_Novembr", "_Dezembr"};

void SayNumber(int64_t n, bool feminine) { SayWordsRecorded(NumberToWords(n), feminine); }

}  // namespace

void SpeakTime(int32_t hours, int32_t minutes) {
  SayNumber(hours, true);
  PlayPhrase(hours < 2 ? "_hora" : "_horas");
  if (minutes != 0) {
    SayNumber(minutes, false);
    PlayPhrase(minutes < 2 ? "_minuto" : "_minutos");
  }
}

void SpeakDate(int32_t day, int32_t month, int32_t year) {
  if (month >= 1 && month <= 12) PlayPhrase(kWeekdays[WeekdayOf(day, month, year)]);
  if (day == 1) PlayPhrase("_primeir");
  else SayNumber(day, false);
  PlayPhrase("_de");
  if (month >= 1 && month <= 12) PlayPhrase(kMonths[month - 1]);
  PlayPhrase("_de");
  if (year >= 2000) SayNumber(2000, false);
  if (year > 2000) PlayPhrase("_e");
  const int32_t rest = year % 100;
  if (rest != 0) SayNumber(rest, false);
}

// Speed of the whole Portuguese front end: raw text to MBROLA lines, in characters per second.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "platform/cp1252.hpp"
#include "platform/paths.hpp"
#include "tts/uttsInic.hpp"
#include "tts/uttsPortug.hpp"
#include "tts/uttsPreproc.hpp"
#include "tts/uttsProsodia.hpp"

using namespace teluma;
using namespace teluma::tts;

namespace {

const char* kParagraph =
    "O objetivo do jogo é aterrisar um foguete na superfície da Lua, no menor tempo e gastando "
    "o mínimo de combustível. O foguete tem inicialmente velocidade zero e será puxado para "
    "baixo pela força da gravidade lunar. Você usará os foguetes propulsores para desacelerar "
    "esta queda, informando a quantidade desejada de combustível. No dia 21 de março de 2024, "
    "às 15h30, o Sr. Silva comprou 1.250 litros por R$ 3,75 cada; a Dra. Souza disse: "
    "\"Ótimo!\" Quantos quilômetros faltam? Faltam 384.400 km... ou quase isso. ";

bool LoadAll() {
  std::string dir = platform::MapPath("c:\\qorbel\\koraltts");
  auto f = [&](const char* n) { return platform::ResolveCase(platform::JoinPath(dir, n)); };
  return LoadPortugueseRules(f("portug.nrl"), f("portug.exc")) &&
         LoadAbbreviations(f("portug.abr")) && LoadProsody(f("portug.pro")) &&
         LoadDiphones(f("portug.dfn"));
}

void FrontEnd(benchmark::State& state) {
  if (!LoadAll()) {
    state.SkipWithError("rule files of the data tree are missing");
    return;
  }
  std::string text;
  while (text.size() < static_cast<size_t>(state.range(0)))
    text += platform::Utf8ToCp1252(kParagraph);
  size_t lines = 0;
  for (auto _ : state) {
    std::string normal = NormalizeText(text);
    auto items = AssignPitchPatterns(TokenizeWithKeys(normal), true);
    auto pho = BuildPhoLines(TokensToPhonemes(items), 1.0, 1.0);
    lines = pho.size();
    benchmark::DoNotOptimize(pho.data());
  }
  state.counters["chars_per_s"] = benchmark::Counter(
      static_cast<double>(text.size()) * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["mbrola_lines"] = static_cast<double>(lines);
}
BENCHMARK(FrontEnd)->Arg(1000)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

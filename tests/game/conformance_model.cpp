#include "conformance_model.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace conformance {

namespace {

const std::map<std::string, std::string>& Catalogue() {
  static const std::map<std::string, std::string> texts = {
      {"LUNVEXPL", "A nave explodiu!"},
      {"LUNVPOUS", "Muito bem, a nave pousou!"},
      {"LUVELINI", "A velocidade é de "},
      {"LUSEMCOM", "Nave sem combustível!"},
      {"LUALTINI", "A altura inicial é de "},
      {"LUCOMINI", "Combustível atual: "},
      {"LUCOMGAS", "Combustivel gasto: "},
      {"LUVELFIM", "Velocidade final: "},
      {"LUPTSFIM", "Sua pontuação: "},
      {"LUCOMBTQ", "Combustível: "},
      {"LUTEMPO", "Tempo: "},
      {"LUALTURA", "Altura: "},
      {"LUVELOC", "Velocidade: "},
      {"LUVCSOBE", "Você está subindo!"},
      {"LUAPENTR", "Pressione enter para começar a alunisagem."},
      {"LUCOMVAZ", "COMBUSTÍVEL VAZADO! "},
      {"LUENTOPE", "Entupimento na mangueira, combustível utilizado: "},
      {"LUOLA",
       "Olá, você está a bordo do ALBATROSSIA 1 e terá de conduzir\r\na nave em segurança até a "
       "aterrizagem na Lua. BOA SORTE!"},
      {"LULENTO", "ATENÇÃO, você está muito lento, deixe a nave cair."},
      {"LURAPIDO", "ATENÇÃO, você está muito rápido próximo ao solo."},
      {"LUDEMAIS", "ATENÇÃO, você está rápido demais."},
      {"LUFIMCOM", "Fim do combustível."},
      {"LUNSUPOR", "A nave não suportou a velocidade e explodiu! Você virou pó espacial."},
      {"LUFORORB",
       "A nave saiu da órbita lunar.\r\nVocê não conseguirá voltar, está irremediavelmente "
       "perdido no espaço."},
      {"LUENTERR",
       "Você usou muito combustível próximo ao chão, criando uma cratera e enterrando a nave no "
       "solo. Você perdeu."},
      {"LUINJETE", "Injete mais combustível."},
  };
  return texts;
}

void Append(std::vector<Item>& to, const std::vector<Item>& items) {
  to.insert(to.end(), items.begin(), items.end());
}

// Write and speak, then a line end.
std::vector<Item> SpeakWriteLn(const std::string& text) {
  return {{"OUT", text}, {"SPEAK", text}, {"OUT", "\r\n"}};
}

std::vector<Item> SayDecimal(double x) {
  long long whole = static_cast<long long>(std::trunc(x));
  long long tenth = static_cast<long long>(std::trunc((x - std::trunc(x)) * 10));
  return {{"OUT", std::to_string(whole) + "." + std::to_string(tenth)},
          {"SPEAK", std::to_string(whole) + " ponto " + std::to_string(tenth)}};
}

std::vector<Item> SpeakNumber(long long n) {
  return {{"OUT", std::to_string(n)}, {"SPEAK", std::to_string(n)}};
}

double Gravity(double h) { return 6.67e12 / ((h + 1.738e6) * (h + 1.738e6)); }

std::vector<Item> FullReport(double altitude, double velocity, double time, int fuel) {
  std::vector<Item> items;
  if (velocity > 0 && velocity < 5) Append(items, Say("LULENTO", 1));
  if (altitude < 100 && velocity > 25) Append(items, Say("LURAPIDO", 1));
  else if (velocity > 50) Append(items, Say("LUDEMAIS", 1));
  Append(items, Say("LUTEMPO", 0));
  Append(items, SpeakNumber(static_cast<long long>(std::trunc(time))));
  items.push_back({"OUT", "\r\n"});
  Append(items, Say("LUALTURA", 0));
  Append(items, SayDecimal(altitude));
  items.push_back({"OUT", "\r\n"});
  if (velocity < 0) {
    Append(items, Say("LUVCSOBE", 1));
    Append(items, Say("LUVELOC", 0));
    Append(items, SayDecimal(-velocity));
  } else {
    Append(items, Say("LUVELOC", 0));
    Append(items, SayDecimal(velocity));
  }
  items.push_back({"OUT", "\r\n"});
  if (fuel > 0) {
    Append(items, Say("LUCOMBTQ", 0));
    Append(items, SpeakNumber(fuel));
    items.push_back({"OUT", "\r\n"});
  }
  return items;
}

}  // namespace

std::string Text(const std::string& key) {
  auto it = Catalogue().find(key);
  return it == Catalogue().end() ? "--> Mensagem inválida: " + key : it->second;
}

std::vector<Item> Say(const std::string& key, int lineEnds) {
  std::vector<Item> items{{"OUT", Text(key)}};
  for (int i = 0; i < lineEnds; ++i) items.push_back({"OUT", "\r\n"});
  items.push_back({"SPEAK", Text(key)});
  return items;
}

std::string Fixed1(double x) {
  char text[64];
  std::snprintf(text, sizeof text, "%3.1f", x);
  return text;
}

KeysByTurn KeysOfFlight(const testkit::RunResult& r, size_t start) {
  KeysByTurn keys;
  int status = 0;
  for (size_t i = start; i < r.events.size(); ++i) {
    const auto& e = r.events[i];
    if (e.name == "OUT" && e.data.rfind("\"tempo= ", 0) == 0) ++status;
    if (e.name == "OUT" && e.data.find("Combustivel gasto") != std::string::npos) break;
    if (e.name == "KEY") keys[status + 1].push_back(std::atoi(e.data.c_str()));
  }
  return keys;
}

std::vector<Item> Briefing(const Level& level) {
  std::vector<Item> items{{"PLAY", "FOGUETE.wav"}};
  Append(items, Say("LUOLA", 2));
  Append(items, Say("LUALTINI", 0));
  Append(items, SpeakWriteLn(std::to_string(level.altitude) + " metros"));
  Append(items, Say("LUVELINI", 0));
  Append(items, SpeakWriteLn("0 metros por segundo "));
  Append(items, Say("LUCOMINI", 0));
  Append(items, SpeakWriteLn(std::to_string(level.fuel) + " litros"));
  items.push_back({"OUT", "\r\n"});
  Append(items, Say("LUAPENTR", 1));
  return items;
}

int Score(const Level& level, double velocity, double time, int used, bool lost) {
  long double v = velocity, t = time, sum;
  long long score = 0;
  if (v > 0 && v < level.maxLanding) {
    sum = 5000.0L - (7 * t + 3.0L * used + 113 * v);
    score = static_cast<long long>(std::trunc(sum));
  } else if (v >= 0) {
    sum = 2000.0L - (4 * t + 3.0L * used + 113 * v);
    score = static_cast<long long>(std::trunc(sum));
  }
  if (score < 0 || lost) score = 0;
  return static_cast<int>(score);
}

Faults FaultsOfFlight(const testkit::RunResult& r, size_t start) {
  Faults faults;
  int status = 0;
  std::map<int, int>* pending = nullptr;
  for (size_t i = start; i < r.events.size(); ++i) {
    const auto& e = r.events[i];
    if (e.name == "OUT" && e.data.rfind("\"tempo= ", 0) == 0) ++status;
    if (e.name == "OUT" && e.data.find("Combustivel gasto") != std::string::npos) break;
    if (e.name != "SPEAK") continue;
    std::string text = testkit::Unquote(e.data);
    if (pending) {
      (*pending)[status + 1] = std::atoi(text.c_str());
      pending = nullptr;
    } else if (text == Text("LUENTOPE")) {
      pending = &faults.clog;
    } else if (text == Text("LUCOMVAZ")) {
      pending = &faults.leak;
    }
  }
  return faults;
}

Flight Fly(const Level& level, const KeysByTurn& keys, Carry& carry, const Faults& faults) {
  static const struct { double at; const char* text; } kCallouts[] = {
      {1000, "Mil metros."}, {500, "Quinhentos metros."}, {250, "Duzentos e cinquenta metros."},
      {100, "Cem metros."}, {50, "Cinquenta metros."}};
  Flight f;
  std::vector<Item>& out = f.items;
  double altitude = level.altitude, velocity = 0, time = 1.0, altitudeBefore = altitude;
  double marker = altitude;
  int fuel = level.fuel, turn = 0;
  while (altitude >= 0) {
    double gravity = Gravity(altitude);
    ++turn;
    for (const auto& c : kCallouts)
      if ((altitudeBefore > c.at && altitude < c.at) || (altitudeBefore < c.at && altitude > c.at))
        Append(out, SpeakWriteLn(c.text));
    long long whole = static_cast<long long>(std::trunc(altitude));
    if ((whole > 40 && turn % 120 == 0) || (whole <= 40 && turn % 40 == 0))
      Append(out, SayDecimal(altitude));
    int burn = 0;
    auto pressed = keys.find(turn);
    if (fuel > 0 && pressed != keys.end() && !pressed->second.empty()) {
      int key = pressed->second.back();
      if (key == ' ') Append(out, FullReport(altitude, velocity, time, fuel));
      else if (key == 13) Append(out, SpeakWriteLn(std::to_string(whole)));
      else if (key >= '1' && key <= '9') burn = key - '0';
      if (burn > fuel) burn = fuel;
    }
    if (burn > 0 && level.number != 1) ++f.clogChances;
    auto clog = faults.clog.find(turn);
    if (burn > 0 && level.number != 1 && clog != faults.clog.end()) {
      burn = clog->second;
      out.push_back({"PLAY", "ENTUPIME.wav"});
      Append(out, Say("LUENTOPE", 0));
      Append(out, SpeakNumber(burn));
      out.push_back({"OUT", ".\r\n"});
      Append(out, Say("LUINJETE", 0));
      out.push_back({"OUT", "\r\n"});
    }
    if (burn > 0 && burn <= 10) out.push_back({"EFFECT", "APLICCOMB"});
    else if (burn > 10 && burn <= 20) out.push_back({"EFFECT", "APLICCOMB2"});
    else if (burn > 20 && burn <= level.maxBurn) out.push_back({"EFFECT", "APLICCOMB3"});
    if (turn % 100 == 0 && whole > 800 && velocity > 0 && velocity < 5)
      Append(out, Say("LULENTO", 1));
    if (carry.fuelBefore != 0 && fuel == 0) {
      out.push_back({"EFFECT", "ALARM2"});
      Append(out, Say("LUFIMCOM", 1));
    }
    if (turn % 200 == 0 && fuel == 0) {
      out.push_back({"EFFECT", "ALARM2"});
      Append(out, Say("LUSEMCOM", 1));
      burn = 0;
    }
    if (whole < 150 && turn % 30 == 0 && velocity > 30) Append(out, Say("LURAPIDO", 1));
    if (carry.velocityBefore < 65 && velocity > 65) Append(out, Say("LUDEMAIS", 1));
    time += 0.1;
    carry.fuelBefore = fuel;
    carry.velocityBefore = velocity;
    altitudeBefore = altitude;
    double newVelocity = gravity * 0.1 + velocity - burn * 8.0 / 7.0;
    altitude = altitude - 0.1 * (velocity + newVelocity) / 2;
    velocity = newVelocity;
    fuel -= burn;
    if (altitude >= 3000) {
      out.push_back({"PLAY", "EXPLODE.wav"});
      Append(out, Say("LUFORORB", 1));
      f.lost = true;
    }
    if (velocity <= -120 || velocity >= 120) {
      out.push_back({"PLAY", "EXPLODE.wav"});
      Append(out, Say("LUNSUPOR", 1));
      f.lost = true;
    }
    if (f.lost) break;
    if (fuel > 0 && level.number != 1) ++f.leakChances;
    auto leak = faults.leak.find(turn);
    if (fuel > 0 && level.number != 1 && leak != faults.leak.end()) {
      fuel -= leak->second;
      out.push_back({"PLAY", "VAZAMENT.wav"});
      Append(out, Say("LUCOMVAZ", 0));
      Append(out, SpeakNumber(leak->second));
      out.push_back({"OUT", "\r\n"});
    }
    if (altitude > marker) {
      out.push_back({"EFFECT", "pong.wav"});
      marker += 10;
    } else if (marker - altitude >= 10) {
      out.push_back({"EFFECT", "ping2.wav"});
      marker -= 10;
    }
    out.push_back({"OUT", "tempo= " + Fixed1(time) + " altura= " + Fixed1(altitude) +
                              " velocidade= " + Fixed1(velocity) +
                              " combustível atual= " + std::to_string(fuel) + "\r"});
  }
  f.altitude = altitude;
  f.velocity = velocity;
  f.time = time;
  f.fuel = fuel;
  f.used = level.fuel - fuel;
  f.turns = turn;
  f.score = Score(level, velocity, time, f.used, f.lost);

  double v = velocity;
  if (v > level.maxLanding) {
    out.push_back({"PLAY", "EXPLODE.wav"});
    out.push_back({"OUT", "\r\n"});
    Append(out, Say("LUNVEXPL", 0));
    out.push_back({"OUT", "\r\n"});
  } else if (v >= 0) {
    out.push_back({"PLAY", "ATERRIZAGEM.wav"});
    out.push_back({"OUT", "\r\n"});
    Append(out, Say("LUNVPOUS", 0));
    out.push_back({"OUT", "\r\n"});
  }
  out.push_back({"OUT", "\r\n"});
  if (v > -100 && v < 0 && altitude < 3000) {
    out.push_back({"PLAY", "EXPLODE.wav"});
    Append(out, Say("LUENTERR", 0));
    out.push_back({"OUT", "\r\n"});
  }
  if (v >= 0) {
    Append(out, Say("LUVELFIM", 0));
    Append(out, SayDecimal(v));
    out.push_back({"OUT", "\r\n"});
  }
  Append(out, Say("LUCOMGAS", 0));
  Append(out, SpeakNumber(f.used));
  out.push_back({"OUT", "\r\n"});
  Append(out, Say("LUPTSFIM", 0));
  Append(out, SpeakNumber(f.score));
  out = Merge(out);
  return f;
}

}  // namespace conformance

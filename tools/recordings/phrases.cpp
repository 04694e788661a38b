#include "phrases.hpp"

#include "game/messages.hpp"
#include "platform/cp1252.hpp"

using namespace teluma::game;

namespace teluma::tools::recordings {

std::vector<Phrase> NumberWordPhrases() {
  // File names follow the spoken numbers' rule: "_" + word cut to eight characters, without
  // the tilde, and "dezessete" as "dezeset" so that it differs from "dezesseis".
  return {
      {"_zero.wav", "zero"},       {"_um.wav", "um"},           {"_uma.wav", "uma"},
      {"_dois.wav", "dois"},       {"_duas.wav", "duas"},       {"_tres.wav", "três"},
      {"_quatro.wav", "quatro"},   {"_cinco.wav", "cinco"},     {"_seis.wav", "seis"},
      {"_sete.wav", "sete"},       {"_oito.wav", "oito"},       {"_nove.wav", "nove"},
      {"_dez.wav", "dez"},         {"_onze.wav", "onze"},       {"_doze.wav", "doze"},
      {"_treze.wav", "treze"},     {"_quatorz.wav", "quatorze"}, {"_quinze.wav", "quinze"},
      {"_dezesse.wav", "dezesseis"}, {"_dezeset.wav", "dezessete"}, {"_dezoito.wav", "dezoito"},
      {"_dezenov.wav", "dezenove"}, {"_vinte.wav", "vinte"},    {"_trinta.wav", "trinta"},
      {"_quarent.wav", "quarenta"}, {"_cinquen.wav", "cinquenta"}, {"_sessent.wav", "sessenta"},
      {"_setenta.wav", "setenta"}, {"_oitenta.wav", "oitenta"}, {"_noventa.wav", "noventa"},
      {"_cem.wav", "cem"},         {"_cento.wav", "cento"},     {"_duzento.wav", "duzentos"},
      {"_trezent.wav", "trezentos"}, {"_quatroc.wav", "quatrocentos"},
      {"_quinhen.wav", "quinhentos"}, {"_seiscen.wav", "seiscentos"},
      {"_setecen.wav", "setecentos"}, {"_oitocen.wav", "oitocentos"},
      {"_novecen.wav", "novecentos"}, {"_mil.wav", "mil"},      {"_milhao.wav", "milhão"},
      {"_milhoes.wav", "milhões"}, {"_bilhao.wav", "bilhão"},   {"_bilhoes.wav", "bilhões"},
      {"_trilhao.wav", "trilhão"}, {"_trilhoe.wav", "trilhões"},
      // The connector "e" is said as in "vinte e um", not as the letter's name.
      {"_e.wav", "[[i]]"},
  };
}

// prefix + number + ".wav", built without the operator+ overload that trips a false warning of
// GCC 12.
static std::string WaveName(const char* prefix, int number) {
  std::string name = prefix;
  name += std::to_string(number);
  name += ".wav";
  return name;
}

std::vector<Phrase> LetterPhrases() {
  std::vector<Phrase> p = {
      {"_MENOS.wav", "menos"},
      // Clock time and date.
      {"_hora.wav", "hora"}, {"_horas.wav", "horas"}, {"_minuto.wav", "minuto"},
      {"_minutos.wav", "minutos"}, {"_primeir.wav", "primeiro"}, {"_de.wav", "de"},
      {"_Domingo.wav", "domingo"}, {"_Segunda.wav", "segunda-feira"},
      {"_Terca.wav", "terça-feira"}, {"_Quarta.wav", "quarta-feira"},
      {"_Quinta.wav", "quinta-feira"}, {"_Sexta.wav", "sexta-feira"}, {"_Sabado.wav", "sábado"},
      {"_Janeiro.wav", "janeiro"}, {"_Feverei.wav", "fevereiro"}, {"_Marco.wav", "março"},
      {"_Abril.wav", "abril"}, {"_Maio.wav", "maio"}, {"_Junho.wav", "junho"},
      {"_Julho.wav", "julho"}, {"_Agosto.wav", "agosto"}, {"_Setembr.wav", "setembro"},
      {"_Outubro.wav", "outubro"}, {"_Novembr.wav", "novembro"}, {"_Dezembr.wav", "dezembro"},
      // The line editor.
      {"_DEL.wav", "apagado"},
      {"_APFCPO.wav", "apagado até o fim do campo"},
      {"_APICPO.wav", "apagado até o início do campo"},
      {"_CPOAPA.wav", "campo apagado"},
      {"_FALACI.wav", "falar o que for digitado"},
      {"_FALDLG.wav", "não falar o que for digitado"},
      {"_VELOC.wav", "velocidade da fala? Digite de um a cinco."},
  };
  // A word for each letter, said with Alt+Right so that similar letters can be told apart.
  static const char* const kSpelling[26] = {
      "amor", "bola", "casa", "dado", "elefante", "faca", "gato", "hotel", "igreja",
      "janela", "kiwi", "lua", "mesa", "navio", "ovo", "pato", "queijo", "rato",
      "sapo", "tatu", "uva", "vaca", "web", "xícara", "yoga", "zebra"};
  for (int k = 0; k < 26; ++k) {
    std::string letter(1, static_cast<char>('a' + k));
    std::string text = letter + " de " + kSpelling[k];
    p.push_back({WaveName("_FON", 'a' + k), text});
    p.push_back({WaveName("_FON", 'A' + k), text});
  }
  for (int code = 33; code < 256; ++code) {
    std::string name = CharacterName(code);
    if (!name.empty()) p.push_back({WaveName("_", code), name});
  }
  return p;
}

std::vector<Phrase> GamePhrases() {
  std::vector<Phrase> p;
  for (const auto& entry : MessageCatalogue())
    p.push_back({std::string(entry.key) + ".wav", platform::Cp1252ToUtf8(entry.text)});
  return p;
}

}  // namespace teluma::tools::recordings

// The shipped rule and exception files over common Portuguese words and the game's messages.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "game/messages.hpp"
#include "platform/cp1252.hpp"
#include "synth/translator.hpp"
#include "testkit/testkit.hpp"

namespace {

class PortugueseRules : public ::testing::Test {
 protected:
  void SetUp() override {
    // The data tree holds the files as Windows-1252 with CR LF line ends: load them that way.
    for (const char* name : {"regras.rgr", "portug.exc"}) {
      std::string text = testkit::ReadFile(std::string(TRANSLATOR_DATA_DIR) + "/" + name);
      std::string crlf;
      for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
      }
      dir.Write(name, platform::Utf8ToCp1252(crlf));
    }
    ASSERT_TRUE(LoadTranslatorFiles(dir.path() + "/"));
    ASSERT_GT(translator::RuleCount(), 100u);
    ASSERT_GT(translator::ExceptionCount(), 50u);
  }
  void TearDown() override { FreeRules(); }
  testkit::TempDir dir;

  static std::string Say(const std::string& utf8) {
    return platform::Cp1252ToUtf8(TranslateText(platform::Utf8ToCp1252(utf8)));
  }

  // Compares a list of words, reporting every difference at once.
  static void Expect(const std::vector<std::pair<std::string, std::string>>& list) {
    for (const auto& [word, phonetic] : list) EXPECT_EQ(Say(word), phonetic) << word;
  }
};

// Only the letters of the phonetic alphabet, the group brackets and the joiners.
bool InAlphabet(const std::string& phonetic) {
  for (char c : phonetic)
    if (std::string("[]/ abcdefghijklmnoprstuvwxyzAEIOU^~").find(c) == std::string::npos)
      return false;
  return true;
}

// Drops the groups of letters spelled on purpose (a lone consonant such as the "F" of a menu).
std::string WithoutSpelledLetters(std::string phonetic) {
  for (size_t at = phonetic.find("[ /_"); at != std::string::npos; at = phonetic.find("[ /_", at)) {
    if (at + 5 < phonetic.size() && phonetic[at + 5] == ']' &&
        std::isalpha(static_cast<unsigned char>(phonetic[at + 4])))
      phonetic.erase(at, 6);
    else
      ++at;
  }
  return phonetic;
}

}  // namespace

TEST_F(PortugueseRules, CommonWords) {
  Expect({
      {"casa", "[ k/A/ z/a]"}, {"casas", "[ k/A/ z/a/s]"}, {"mesa", "[ m/E^/ z/a]"},
      {"porta", "[ p/O/r/ t/a]"}, {"janela", "[ j/a/ n/E/ l/a]"}, {"escola", "[i/s/ k/O/ l/a]"},
      {"cidade", "[ s/i/ d/A/ dj/i]"}, {"país", "[ p/a/ I/s]"}, {"saída", "[ s/a/ I/ d/a]"},
      {"água", "[A/ g/w/a]"}, {"leite", "[ l/E/y/ tch/i]"}, {"pão", "[ p/A~w]"},
      {"mãe", "[ m/A~y]"}, {"pai", "[ p/A/y]"}, {"irmão", "[i/r/ m/A~w]"},
      {"irmã", "[i/r/ m/A~]"}, {"filho", "[ f/I/ lh/u]"}, {"filha", "[ f/I/ lh/a]"},
      {"banho", "[ b/A/ nh/u]"}, {"chuva", "[ x/U/ v/a]"}, {"sol", "[ s/O/w]"},
      {"lua", "[ l/U/ a]"}, {"mar", "[ m/a/r]"}, {"terra", "[ t/E/ rr/a]"},
      {"céu", "[ s/E/w]"}, {"estrela", "[i/s/ t/r/E^/ l/a]"}, {"fogo", "[ f/O^/ g/u]"},
      {"foguete", "[ f/o^/ g//E^/ tch/i]"}, {"nave", "[ n/A/ v/i]"}, {"piloto", "[ p/i/ l/O^/ t/u]"},
      {"altura", "[a/w/ t/U/ r/a]"}, {"velocidade", "[ v/e^/ l/o^/ s/i/ d/A/ dj/i]"}, {"combustível", "[ k/o~/ b/u/s/ tch/I/ v/e/w]"},
      {"tempo", "[ t/E~/ p/u]"}, {"hora", "[O/ r/a]"}, {"agora", "[a/ g/O/ r/a]"},
      {"hoje", "[/O^/ j/i]"}, {"amanhã", "[a/ m/a/ nh/A~]"}, {"ontem", "[O~/ t/e~y]"},
      {"noite", "[ n/O/y/ tch/i]"}, {"dia", "[ dj/I/ a]"}, {"manhã", "[ m/a/ nh/A~]"},
      {"tarde", "[ t/A/r/ dj/i]"}, {"sempre", "[ s/E~/ p/r/i]"}, {"nunca", "[ n/U~/ k/a]"},
      {"muito", "[ m/u~/y/ t/u]"}, {"pouco", "[ p/O/w/ k/u]"}, {"mais", "[ m/A/y/s]"},
      {"menos", "[ m/E^/ n/u/s]"}, {"bem", "[ b/e~y]"}, {"mal", "[ m/A/w]"},
      {"bom", "[ b/o~]"}, {"boa", "[ b/O^/ a]"}, {"ruim", "[ rr/U/ i~]"},
      {"grande", "[ g/r/A~/ dj/i]"}, {"pequeno", "[ p/e^/ k//E^/ n/u]"}, {"novo", "[ n/O^/ v/u]"},
      {"nova", "[ n/O/ v/a]"}, {"velho", "[ v/E/ lh/u]"}, {"quente", "[ k//E~/ tch/i]"},
      {"frio", "[ f/r/I/ u]"}, {"cinco", "[ s/I~/ k/u]"}, {"seis", "[ s/E/y/s]"},
      {"sete", "[ s/E/ tch/i]"}, {"oito", "[O/y/ t/u]"}, {"nove", "[ n/O/ v/i]"},
      {"dez", "[ d/E/s]"}, {"cem", "[ s/e~y]"}, {"mil", "[ m/I/w]"},
      {"primeiro", "[ p/r/i/ m/E/y/ r/u]"}, {"segundo", "[ s/e^/ g/U~/ d/u]"}, {"terceiro", "[ t/e^/r/ s/E/y/ r/u]"},
      {"último", "[U/w/ tch/i/ m/u]"}, {"homem", "[/O^/ m/e~y]"}, {"mulher", "[ m/u/ lh/E/r]"},
      {"criança", "[ k/r/i/ A~/ s/a]"}, {"pessoa", "[ p/e^/ s/O^/ a]"}, {"gente", "[ j/E~/ tch/i]"},
      {"amigo", "[a/ m/I/ g/u]"}, {"nome", "[ n/O^/ m/i]"}, {"palavra", "[ p/a/ l/A/ v/r/a]"},
      {"voz", "[ v/o^/s]"}, {"som", "[ s/o~]"}, {"letra", "[ l/E^/ t/r/a]"},
      {"número", "[ n/U/ m/e^/ r/u]"}, {"jogo", "[ j/O^/ g/u]"}, {"vida", "[ v/I/ d/a]"},
      {"morte", "[ m/O/r/ tch/i]"}, {"sorte", "[ s/O/r/ tch/i]"}, {"vez", "[ v/e^/s]"},
      {"coisa", "[ k/O/y/ z/a]"}, {"lugar", "[ l/u/ g/A/r]"}, {"caminho", "[ k/a/ m/I/ nh/u]"},
      {"rua", "[ rr/U/ a]"}, {"mundo", "[ m/U~/ d/u]"}, {"espaço", "[i/s/ p/A/ s/u]"},
      {"lunar", "[ l/u/ n/A/r]"}, {"órbita", "[O/r/ b/i/ t/a]"}, {"gravidade", "[ g/r/a/ v/i/ d/A/ dj/i]"},
      {"força", "[ f/O^/r/ s/a]"}, {"peso", "[ p/E^/ z/u]"}, {"metro", "[ m/E^/ t/r/u]"},
      {"metros", "[ m/E^/ t/r/u/s]"}, {"segundos", "[ s/e^/ g/U~/ d/u/s]"}, {"litros", "[ l/I/ t/r/u/s]"},
      {"quantos", "[ k/w/A~/ t/u/s]"}, {"quanto", "[ k/w/A~/ t/u]"}, {"qual", "[ k/w/A/w]"},
      {"quem", "[ k//e~y]"}, {"onde", "[O~/ dj/i]"}, {"como", "[ k/O^/ m/u]"},
      {"quando", "[ k/w/A~/ d/u]"}, {"porque", "[ p/o^/r/ k//E^]"}, {"então", "[e~/ t/A~w]"},
      {"também", "[ t/a~/ b/E~y]"}, {"ainda", "[a/ I~/ d/a]"}, {"já", "[ j/A]"},
      {"depois", "[ d/e^/ p/O/y/s]"}, {"antes", "[A~/ tch/i/s]"}, {"aqui", "[a/ k//I]"},
      {"ali", "[a/ l/I]"}, {"lá", "[ l/A]"}, {"isso", "[i/ s/u]"},
      {"isto", "[i/s/ t/u]"}, {"aquilo", "[a/ k//I/ l/u]"}, {"este", "[E^/s/ tch/i]"},
      {"essa", "[E/ s/a]"}, {"ele", "[E^/ l/i]"}, {"ela", "[E/ l/a]"},
      {"eles", "[E^/ l/i/s]"}, {"nós", "[ n/O/s]"}, {"você", "[ v/o^/ s/E^]"},
      {"vocês", "[ v/o^/ s/E^/s]"}, {"eu", "[E/w]"}, {"meu", "[ m/E/w]"},
      {"minha", "[ m/I/ nh/a]"}, {"seu", "[ s/E/w]"}, {"sua", "[ s/U/ a]"},
      {"nosso", "[ n/O^/ s/u]"}, {"dele", "[ d/E^/ l/i]"}, {"fazer", "[ f/a/ z/E^/r]"},
      {"ser", "[ s/e^/r]"}, {"estar", "[i/s/ t/A/r]"}, {"ter", "[ t/e^/r]"},
      {"ir", "[i/r]"}, {"vir", "[ v/i/r]"}, {"dizer", "[ dj/i/ z/E^/r]"},
      {"saber", "[ s/a/ b/E^/r]"}, {"poder", "[ p/o^/ d/E^/r]"}, {"querer", "[ k//e^/ r/E^/r]"},
      {"ver", "[ v/e^/r]"}, {"dar", "[ d/a/r]"}, {"falar", "[ f/a/ l/A/r]"},
      {"ouvir", "[o/w/ v/I/r]"}, {"pensar", "[ p/e~/ s/A/r]"}, {"jogar", "[ j/o^/ g/A/r]"},
      {"pousar", "[ p/o/w/ z/A/r]"}, {"subir", "[ s/u/ b/I/r]"}, {"descer", "[ d/e^// s/E^/r]"},
      {"cair", "[ k/a/ I/r]"}, {"explodir", "[i/s/ p/l/o^/ dj/I/r]"}, {"começar", "[ k/o^/ m/e^/ s/A/r]"},
      {"acabar", "[a/ k/a/ b/A/r]"}, {"ganhar", "[ g/a/ nh/A/r]"}, {"perder", "[ p/e^/r/ d/E^/r]"},
      {"exame", "[e^/ z/A/ m/i]"}, {"texto", "[ t/E^/s/ t/u]"}, {"táxi", "[ t/A/k/ s/i]"},
      {"caixa", "[ k/A/y/ x/a]"}, {"peixe", "[ p/E/y/ x/i]"},
  });
}

TEST_F(PortugueseRules, SpellingPatternsAndExceptions) {
  Expect({
      {"xícara", "[ x/I/ k/a/ r/a]"}, {"próximo", "[ p/r/O/ s/i/ m/u]"}, {"máximo", "[ m/A/ s/i/ m/u]"},
      {"hífen", "[/I/ f/e~]"}, {"ritmo", "[ rr/I/ tchi/ m/u]"}, {"advogado", "[a/ dji/ v/o^/ g/A/ d/u]"},
      {"pneu", "[ pi/ n/E/w]"}, {"obter", "[o^/ bi/ t/E^/r]"}, {"pacto", "[ p/A/ ki/ t/u]"},
      {"carro", "[ k/A/ rr/u]"}, {"honra", "[/O~/ rr/a]"}, {"rato", "[ rr/A/ t/u]"},
      {"Israel", "[i/s/ rr/a/ E/w]"}, {"prato", "[ p/r/A/ t/u]"}, {"blusa", "[ b/l/U/ z/a]"},
      {"claro", "[ k/l/A/ r/u]"}, {"flor", "[ f/l/o^/r]"}, {"tchau", "[ tch/A/w]"},
      {"quais", "[ k/w/A/y/s]"}, {"queijo", "[ k//E/y/ j/u]"}, {"guerra", "[ g//E/ rr/a]"},
      {"seguir", "[ s/e^/ g//I/r]"}, {"linguiça", "[ l/i~/ g/w/I/ s/a]"}, {"saiu", "[ s/a/ I/w]"},
      {"partiu", "[ p/a/r/ tch/I/w]"}, {"herói", "[/e^/ r/O/y]"}, {"papéis", "[ p/a/ p/E/y/s]"},
      {"coração", "[ k/o^/ r/a/ s/A~w]"}, {"pões", "[ p/O~y/s]"}, {"bombom", "[ b/o~/ b/O~]"},
      {"empresa", "[e~/ p/r/E^/ z/a]"},
      {"casas bolas", "[ k/A/ z/a/s][ b/O/ l/a/s]"},
      {"d'água", "[ d/A/ g/w/a]"},
      {"CASA", "[ k/A/ z/a]"},
      {"esse", "[E^/ s/i]"}, {"aquela", "[a/ k//E/ l/a]"}, {"dezessete", "[ d/e^/ z/e^/ s/E/ tch/i]"},
      {"Wagner", "[u/ a/ gi/ n/E^/r]"},
  });
}

TEST_F(PortugueseRules, GameMessagesStayInsideTheAlphabet) {
  // Runs of letters and blanks, as the speech front end hands them over.
  // The texts come from the game's own catalogue (Windows-1252 already).
  for (const auto& entry : MessageCatalogue()) {
    const std::string& text = entry.text;
    size_t p = 0;
    while (p < text.size()) {
      auto isWordCharacter = [](char c) {
        return c == ' ' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
               static_cast<unsigned char>(c) >= 128;
      };
      if (!isWordCharacter(text[p])) {
        ++p;
        continue;
      }
      size_t end = p;
      while (end < text.size() && isWordCharacter(text[end])) ++end;
      const std::string run = text.substr(p, end - p);
      const std::string phonetic = TranslateText(run);
      EXPECT_TRUE(InAlphabet(WithoutSpelledLetters(phonetic)))
          << platform::Cp1252ToUtf8(run) << " -> " << phonetic;
      p = end;
    }
  }
  EXPECT_EQ(Say("Muito bem a nave pousou"),
            "[ m/u~/y/ t/u][ b/e~y][a][ n/A/ v/i][ p/o/w/ z/O/w]");
  EXPECT_EQ(Say("ATENÇÃO você está muito rápido próximo ao solo"),
            "[a/ t/e~/ s/A~w][ v/o^/ s/E^][i/s/ t/A][ m/u~/y/ t/u][ rr/A/ p/i/ d/u]"
            "[ p/r/O/ s/i/ m/u][A/w][ s/O^/ l/u]");
}

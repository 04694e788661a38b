// The message catalogue. Texts are written here in UTF-8 and turned into Windows-1252 once, at
// first use; trailing blanks belong to the texts.
#include <vector>

#include "game/catalogue.hpp"
#include "platform/cp1252.hpp"

namespace {

struct RawEntry {
  std::string_view key;
  std::string_view utf8;
};

constexpr RawEntry kRaw[] = {
    {"LUINIC", "Alunisagem - um desafio para pilotos!"},
    {"LUQLITRO", "Quantos litros? "},
    {"LUBENVIN", "Benvindo ao jogo de Alunisagem!"},
    {"LUDESINS", "Deseja instruções? "},
    {"LUINSTRT",
     "\r\n\r\nINSTRUÇÕES DO JOGO.\r\n\r\n"
     "O objetivo do jogo é aterrisar um foguete na superfície da Lua, \r\n"
     "no menor tempo e gastando o mínimo de combustível.\r\n\r\n"
     "O foguete tem inicialmente velocidade zero e será puxado para baixo\r\n"
     "pela força da gravidade lunar. Você usará os foguetes propulsores\r\n"
     "para desacelerar esta queda, informando para isso, a quantidade\r\n"
     "desejada de combustível a aplicar usando as teclas numéricas de zero\r\n"
     "a nove. Pressionando ENTER você será informado de sua altura.\r\n"
     "Pressionando a barra de espaço você obterá todas as suas informações,\r\n"
     "como tempo, altura, velocidade e combustível restante.\r\n"
     "Você será informado regularmente da sua altitude.\r\n\r\n"
     "Tente pousar com suavidade, caso contrário o foguete explode."},
    {"LUDIFICU", "Digite a sua opção de dificuldade de 1 a 3: "},
    {"LUERRARQ", "Erro no arquivo de configuração!"},
    {"LUNAOENT", "Não entendi, digite de novo."},
    {"LUCOMSUF", "Não há combustível suficiente!"},
    {"LUNVEXPL", "A nave explodiu!"},
    {"LUNVPOUS", "Muito bem, a nave pousou!"},
    {"LUVELINI", "A velocidade é de "},
    {"LUSEMCOM", "Nave sem combustível!"},
    {"LUCOMJOG", "Começar jogo? "},
    {"LUJOGDEN", "Quer jogar de novo? "},
    {"LUCONHEC", "Quer conhecer os ases pilotos? "},
    {"LUPNTMAX", "Use as setas para conhecer os ases pilotos e sua pontuação"},
    {"LUPARABE", "Parabéns, você entrará para o quadro de ases pilotos!!!"},
    {"LULENOME", "Digite seu nome:"},
    {"LUALTINI", "A altura inicial é de "},
    {"LUCOMINI", "Combustível atual: "},
    {"LUCOMGAS", "Combustivel gasto: "},
    {"LUCOMMAX", "Combustível máximo a colocar por rodada: "},
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
     "Olá, você está a bordo do ALBATROSSIA 1 e terá de conduzir\r\n"
     "a nave em segurança até a aterrizagem na Lua. BOA SORTE!"},
    {"LUGOSTEI", "Gostei de jogar com você!"},
    {"LUTCHAU", "Tchau..."},
    {"LUJOFISI", "Escolha: I - jogo pela intuição  F - jogo pela física: "},
    {"LULENTO", "ATENÇÃO, você está muito lento, deixe a nave cair."},
    {"LURAPIDO", "ATENÇÃO, você está muito rápido próximo ao solo."},
    {"LUDEMAIS", "ATENÇÃO, você está rápido demais."},
    {"LUFIMCOM", "Fim do combustível."},
    {"LUNSUPOR", "A nave não suportou a velocidade e explodiu! Você virou pó espacial."},
    {"LUFORORB",
     "A nave saiu da órbita lunar.\r\n"
     "Você não conseguirá voltar, está irremediavelmente perdido no espaço."},
    {"LUENTERR",
     "Você usou muito combustível próximo ao chão, criando uma cratera e enterrando a nave no "
     "solo. Você perdeu."},
    {"LUINJETE", "Injete mais combustível."},
    // The score file's own troubles: the player must know when pilots are not being kept.
    {"LUPLALER", "Não foi possível ler a tabela de pontos. Os pontos deste jogo não serão gravados."},
    {"LUPLAGRV", "Não foi possível gravar a tabela de pontos."},
    {"LUPLAINV", "Entradas com erro na tabela de pontos: "},
};

constexpr std::string_view kPhrases[] = {"LUCHIME", "FOGUETE",  "UUUM2",    "EXPLODE", "ATERRIZAGEM",
                                         "VAZAMENT", "ENTUPIME", "APLAUSOS", "FOGOS"};

constexpr std::string_view kEffects[] = {"APLICCOMB", "APLICCOMB2", "APLICCOMB3",
                                         "ALARM2",    "pong.wav",   "ping2.wav"};

const std::vector<CatalogueEntry>& Catalogue() {
  static const std::vector<CatalogueEntry> table = [] {
    std::vector<CatalogueEntry> t;
    for (const auto& raw : kRaw) t.push_back({raw.key, platform::Utf8ToCp1252(raw.utf8)});
    return t;
  }();
  return table;
}

}  // namespace

std::span<const CatalogueEntry> MessageCatalogue() { return Catalogue(); }

std::string MessageText(std::string_view key) {
  for (const auto& entry : Catalogue())
    if (entry.key == key) return entry.text;
  return "--> Mensagem inv\xE1lida: " + std::string(key);
}

std::span<const std::string_view> PhrasesWithoutText() { return kPhrases; }

std::span<const std::string_view> SoundEffectNames() { return kEffects; }

std::string SoundEffectPath(std::string_view folderSetting, std::string_view name) {
  std::string folder = folderSetting.empty() ? "c:\\qorbel\\som\\moondrop" : std::string(folderSetting);
  return folder + "\\" + std::string(name);
}

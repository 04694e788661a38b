#include <gtest/gtest.h>

#include <set>

#include "game/messages.hpp"

using namespace teluma;
using namespace teluma::game;

TEST(Catalogue, TextsAreWindows1252AndExact) {
  EXPECT_EQ(MessageText("LUDESINS"), "Deseja instru\xE7\xF5" "es? ");
  EXPECT_EQ(MessageText("LUQLITRO"), "Quantos litros? ");
  EXPECT_EQ(MessageText("LUCOMVAZ"), "COMBUST\xCDVEL VAZADO! ");
  EXPECT_EQ(MessageText("LUCOMGAS"), "Combustivel gasto: ");  // no accent in this one
  EXPECT_EQ(MessageText("LUJOFISI"),
            "Escolha: I - jogo pela intui\xE7\xE3o  F - jogo pela f\xEDsica: ");
  EXPECT_EQ(MessageText("LUOLA"),
            "Ol\xE1, voc\xEA est\xE1 a bordo do ALBATROSSIA 1 e ter\xE1 de conduzir\r\n"
            "a nave em seguran\xE7" "a at\xE9 a aterrizagem na Lua. BOA SORTE!");
  EXPECT_EQ(MessageText("LUFORORB"),
            "A nave saiu da \xF3rbita lunar.\r\nVoc\xEA n\xE3o conseguir\xE1 voltar, est\xE1 "
            "irremediavelmente perdido no espa\xE7o.");
}

TEST(Catalogue, InstructionsKeepTheirShape) {
  std::string text = MessageText("LUINSTRT");
  EXPECT_EQ(text.rfind("\r\n\r\nINSTRU\xC7\xD5" "ES DO JOGO.\r\n\r\n", 0), 0u);
  EXPECT_NE(text.find("superf\xED" "cie da Lua, \r\nno menor"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 9), " explode.");
  EXPECT_NE(text.substr(text.size() - 2), "\r\n");
}

TEST(Catalogue, UnknownAndCaseSensitiveKeys) {
  EXPECT_EQ(MessageText("luinic"), "--> Mensagem inv\xE1lida: luinic");
  EXPECT_EQ(MessageText(""), "--> Mensagem inv\xE1lida: ");
  EXPECT_EQ(MessageText("LUINIC"), "Alunisagem - um desafio para pilotos!");
}

TEST(Catalogue, KeysAreShortUniqueAndComplete) {
  std::set<std::string_view> keys;
  for (const auto& entry : MessageCatalogue()) {
    EXPECT_LE(entry.key.size(), 8u) << entry.key;
    EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
  }
  EXPECT_EQ(keys.size(), 48u);
  EXPECT_EQ(PhrasesWithoutText().size(), 9u);
  EXPECT_EQ(SoundEffectNames().size(), 6u);
}

TEST(Catalogue, EffectPathUsesTheDriveDefault) {
  EXPECT_EQ(SoundEffectPath("", "ALARM2"), "c:\\qorbel\\som\\moondrop\\ALARM2");
  EXPECT_EQ(SoundEffectPath("d:\\jogo", "pong.wav"), "d:\\jogo\\pong.wav");
}

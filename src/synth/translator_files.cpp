// Where the translator's files live: the diphone folder of the suite configuration.
#include "platform/profile.hpp"
#include "synth/translator.hpp"

namespace teluma::synth {

std::string TranslatorFolder() {
  std::string folder = platform::GetPrivateProfileString("TRADUTOR", "DIRDIFONES",
                                                         "c:\\qorbel\\som\\difones", 80,
                                                         "TELUMA.INI");
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
  return folder;
}

bool LoadTranslatorFiles(std::string_view folder) {
  std::string base(folder);
  if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
  return LoadRules(base + "regras.rgr") && LoadExceptions(base + "portug.exc");
}

}  // namespace teluma::synth

// A small data tree for scenario tests of the spoken input and numbers: TELUMA.INI in the
// Windows folder naming c:\letras\ as letters folder, and tiny wave files in it. Runs of the
// test program are read back as the sequence of what was said. The build gives the test
// program's path as LINEEDIT_PROBE.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "testkit/data_tree.hpp"
#include "testkit/wave.hpp"

namespace speechtest {

class SpeechTree : public testkit::DataTree {
 public:
  SpeechTree() {
    Write("windows/TELUMA.INI",
          "[TRADUTOR]\r\nDIRLETRAS=c:\\letras\\\r\n[SINTETIZADOR]\r\n"
          "[TELUMA]\r\nPROG.TXT=true\r\n");
  }

  // A recording of the letters folder with that many 8-bit samples.
  void Wave(const std::string& name, uint32_t samples) const {
    Write("letras/" + name + ".wav", testkit::SilentWave(samples));
  }
  void Raw(const std::string& name, const std::string& bytes) const {
    Write("letras/" + name + ".wav", bytes);
  }

  testkit::RunResult Run(std::vector<std::string> args, const std::string& keys = {}) const {
    return DataTree::Run(LINEEDIT_PROBE, std::move(args), keys);
  }
};

// What a run said, in order: recordings by name ("_DEL", "_97"), sound images by their sample
// count ("image:556" style is turned into "beep" and "click" for the two signal sounds), texts
// handed to SpeakText ("speak:12") and the probe's results ("result:...").
inline std::vector<std::string> Said(const testkit::RunResult& run) {
  std::vector<std::string> out;
  for (const auto& e : run.events) {
    if (e.name == "PLAY") {
      std::string name = e.data;
      const size_t slash = name.find_last_of("\\/");
      if (slash != std::string::npos) name = name.substr(slash + 1);
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0)
        name.resize(name.size() - 4);
      out.push_back(name);
    } else if (e.name == "IMAGE") {
      const long bytes = std::atol(e.data.c_str());
      const long samples = bytes;
      out.push_back(samples == 512 ? "beep" : samples == 256 ? "click"
                                            : "image:" + std::to_string(samples));
    } else if (e.name == "SPEAK") {
      out.push_back("speak:" + testkit::Unquote(e.data));
    } else if (e.name == "RESULT") {
      out.push_back("result:" + testkit::Unquote(e.data));
    }
  }
  return out;
}

}  // namespace speechtest

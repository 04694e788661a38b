// Fuzz target: .pho lines built from arbitrary phoneme-list lines (comments ";...", phoneme
// names with stress and lengthening marks, pauses), with the shipped prosody and diphone list.
// The selector byte chooses the duration and pitch factors.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tts_pipeline.hpp"

using namespace teluma::tts;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const bool loaded = [] {
    fuzz::ShippedRules::Get().LoadAll();
    return true;
  }();
  (void)loaded;
  std::vector<std::string> lines;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    lines.emplace_back(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  // Positive, as the command line accepts them.
  static const double kFactors[] = {1.0, 0.5, 2.0, 0.01, 100.0, 1e-300, 1e300, 3.7};
  double duration = kFactors[data[0] & 7], pitch = kFactors[(data[0] >> 3) & 7];
  ResetPhoState();
  BuildPhoLines(lines, duration, pitch);
  return 0;
}

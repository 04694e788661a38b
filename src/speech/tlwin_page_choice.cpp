// Which program opens a target named in text, and with which parameters.
#include <string>

#include "speech/tlwin.hpp"

namespace {

bool IsAbsoluteSystemPath(std::string_view path) {
  bool drive = path.size() >= 2 && path[1] == ':' &&
               ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  // A host path (starting with "/") is as absolute on this platform as "\" is on the system's.
  return drive || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

}  // namespace

HelpLaunch ChooseHelpProgram(std::string_view target, std::string_view workingFolder) {
  if (target.starts_with("http://") || target.starts_with("https://") ||
      target.starts_with("www.")) {
    return {ReadSuiteSetting("TELUMA", "PROG.HTM"), std::string(target)};
  }
  size_t dot = target.find('.');
  std::string type = dot == std::string_view::npos ? std::string()
                                                   : UpperText(target.substr(dot + 1, 3));
  if (type != "EXE" && type != "COM") {
    std::string program = ReadSuiteSetting("TELUMA", "PROG." + type);
    if (program.empty()) return {std::string(target), {}};
    return {program, std::string(target)};
  }
  if (IsAbsoluteSystemPath(target)) return {std::string(target), {}};
  std::string program(workingFolder);
  if (!program.empty() && program.back() != '\\' && program.back() != '/') program += '\\';
  program += target;
  return {program, {}};
}

// What the command-line programs share: the version line and the text to work on, taken from
// the arguments or, when there are none, from standard input.
#pragma once
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#ifndef TELUMA_VERSION
#define TELUMA_VERSION "0.1.0"
#endif

namespace teluma::apps {

// The answer to --version: "<program> <version>".
inline void PrintVersion(const char* program) { std::printf("%s %s\n", program, TELUMA_VERSION); }

// The words given on the command line joined with blanks; all of standard input when there are
// none (an empty argument is a word).
inline std::string WordsOrStandardInput(const std::vector<std::string>& words) {
  if (words.empty())
    return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  std::string text;
  for (size_t i = 0; i < words.size(); ++i) text += (i ? " " : "") + words[i];
  return text;
}

// Drops the line ends that close a text typed or piped in.
inline void DropLineEnds(std::string& text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
}

}  // namespace teluma::apps

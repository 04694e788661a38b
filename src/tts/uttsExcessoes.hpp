// The exception list of the Portuguese front end: written words replaced by respellings that the
// letter rules pronounce correctly, also found under a plural or nasal ending S or M.
#pragma once
#include <string>
#include <string_view>

namespace teluma::tts {

constexpr size_t kMaxExceptions = 15000;
constexpr size_t kExceptionLineLimit = 255;

bool LoadExceptionList(const std::string& fileName);
void ApplyExceptions(std::string& word);
void ClearExceptions();
size_t ExceptionCount();

}  // namespace teluma::tts

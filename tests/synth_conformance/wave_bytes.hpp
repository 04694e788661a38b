// Small wave files for the tests, built byte by byte (the test kit's builders).
#pragma once
#include "testkit/wave.hpp"

namespace conformance {
using testkit::Chunk;
using testkit::FmtChunk;
using testkit::Put16;
using testkit::Put32;
using testkit::Riff;
using testkit::Wave;
}  // namespace conformance

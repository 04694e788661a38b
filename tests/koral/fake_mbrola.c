/* A stand-in voice library for the engine's tests, loaded by the same name as the real one.
   Each phoneme line becomes duration x 16 samples at once: 0 for "_", the line's number (1, 2,
   ...) for the others, so tests can tell which line a sample came from. init_MBR fails unless
   the database path names a readable file. A phoneme named by fake_fail_on (or by the
   environment variable FAKE_MBROLA_FAIL_ON) is rejected. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define CAPACITY (16000 * 30)

static short samples[CAPACITY];
static int written, readPos, lineNumber, linesSinceReset, error, noError, resets, flushes, closes;
static char initPath[4096];
static char failOn[64];
static int lineSamples[16], lineSampleCount; /* when set: samples of each line after a reset */

int init_MBR(char* path) {
  snprintf(initPath, sizeof initPath, "%s", path);
  const char* env = getenv("FAKE_MBROLA_FAIL_ON");
  if (env) snprintf(failOn, sizeof failOn, "%s", env);
  FILE* f = fopen(path, "rb");
  if (!f) return -1;
  fclose(f);
  written = readPos = lineNumber = error = 0;
  return 0;
}
int init_rename_MBR(char* path, void* a, void* b) { return init_MBR(path); }
void reset_MBR(void) {
  written = readPos = error = linesSinceReset = 0;
  ++resets;
}
int write_MBR(char* line) {
  char name[64];
  int ms = 0;
  if (line[0] == ';' || sscanf(line, "%63s %d", name, &ms) < 2) return 1;
  ++lineNumber;
  if (failOn[0] && strcmp(name, failOn) == 0) {
    error = 1;
    return -1;
  }
  short value = strcmp(name, "_") == 0 ? 0 : (short)lineNumber;
  int count = ms * 16;
  if (lineSampleCount > 0) count = linesSinceReset < lineSampleCount ? lineSamples[linesSinceReset] : 0;
  ++linesSinceReset;
  for (int i = 0; i < count && written < CAPACITY; ++i) samples[written++] = value;
  return 1;
}
int flush_MBR(void) {
  ++flushes;
  return 1;
}
int read_MBR(short* buffer, int capacity) {
  int n = written - readPos < capacity ? written - readPos : capacity;
  memcpy(buffer, samples + readPos, sizeof(short) * (size_t)n);
  readPos += n;
  if (readPos == written) readPos = written = 0;
  return n;
}
int readtype_MBR(void* buffer, int capacity, int type) { return read_MBR(buffer, capacity); }
void close_MBR(void) { ++closes; }
int lastError_MBR(void) { return error; }
int lastErrorStr_MBR(char* buffer, int length) {
  snprintf(buffer, (size_t)length, "%s", error ? "fonema rejeitado" : "");
  return error;
}
void setNoError_MBR(int value) { noError = value; }
int getNoError_MBR(void) { return noError; }
void setFreq_MBR(int freq) {}
int getFreq_MBR(void) { return 16000; }
void setVolumeRatio_MBR(float ratio) {}
float getVolumeRatio_MBR(void) { return 1.0f; }
int getVersion_MBR(char* buffer, int length) { return snprintf(buffer, (size_t)length, "fake"); }
int getDatabaseInfo_MBR(char* buffer, int length, int index) { return 0; }
void setParser_MBR(void* parser) {}
void* init_Phone(void* name, float length) { return NULL; }
void reset_Phone(void* phone) {}
void close_Phone(void* phone) {}
void appendf0_Phone(void* phone, float position, float freq) {}

/* For the tests: what init received, counters, and the phoneme to reject. */
const char* fake_init_path(void) { return initPath; }
int fake_resets(void) { return resets; }
int fake_closes(void) { return closes; }
int fake_no_error(void) { return noError; }
void fake_fail_on(const char* phoneme) {
  snprintf(failOn, sizeof failOn, "%s", phoneme ? phoneme : "");
}
void fake_line_samples(const int* counts, int n) {
  lineSampleCount = n < 16 ? n : 16;
  for (int i = 0; i < lineSampleCount; ++i) lineSamples[i] = counts[i];
}

/* A stand-in voice library for the engine's tests, loaded by the same name as the real one.
   Each phoneme line becomes duration x 16 samples at once (or the counts fake_line_samples
   gives the lines after a reset): 0 for "_", the line's number for the others. init_MBR fails
   unless the database path names a readable file. The phoneme named by fake_fail_on or by
   FAKE_MBROLA_FAIL_ON is rejected. The entry points the engine does not call do nothing. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define CAPACITY (16000 * 30)

static short samples[CAPACITY];
static int written, readPos, lineNumber, linesSinceReset, error, closes;
static int lineSamples[16], lineSampleCount;
static char initPath[4096], failOn[64];

int init_MBR(char* path) {
  snprintf(initPath, sizeof initPath, "%s", path);
  if (getenv("FAKE_MBROLA_FAIL_ON")) snprintf(failOn, sizeof failOn, "%s", getenv("FAKE_MBROLA_FAIL_ON"));
  FILE* f = fopen(path, "rb");
  if (!f) return -1;
  fclose(f);
  return 0;
}
void reset_MBR(void) { written = readPos = error = linesSinceReset = 0; }
int write_MBR(char* line) {
  char name[64];
  int ms = 0;
  if (line[0] == ';' || sscanf(line, "%63s %d", name, &ms) < 2) return 1;
  ++lineNumber;
  if (failOn[0] && strcmp(name, failOn) == 0) return error = 1, -1;
  int count = ms * 16;
  if (lineSampleCount > 0) count = linesSinceReset < lineSampleCount ? lineSamples[linesSinceReset] : 0;
  ++linesSinceReset;
  for (int i = 0; i < count && written < CAPACITY; ++i)
    samples[written++] = strcmp(name, "_") == 0 ? 0 : (short)lineNumber;
  return 1;
}
int read_MBR(short* buffer, int capacity) {
  int n = written - readPos < capacity ? written - readPos : capacity;
  memcpy(buffer, samples + readPos, sizeof(short) * (size_t)n);
  readPos += n;
  if (readPos == written) readPos = written = 0;
  return n;
}
int flush_MBR(void) { return 1; }
void close_MBR(void) { ++closes; }
int lastError_MBR(void) { return error; }

int init_rename_MBR(char* path, void* a, void* b) { return init_MBR(path); }
int readtype_MBR(void* buffer, int capacity, int type) { return read_MBR(buffer, capacity); }
int lastErrorStr_MBR(char* buffer, int length) { return 0; }
void setNoError_MBR(int value) {}
int getNoError_MBR(void) { return 1; }
void setFreq_MBR(int freq) {}
int getFreq_MBR(void) { return 16000; }
void setVolumeRatio_MBR(float ratio) {}
float getVolumeRatio_MBR(void) { return 1.0f; }
int getVersion_MBR(char* buffer, int length) { return 0; }
int getDatabaseInfo_MBR(char* buffer, int length, int index) { return -1; }
void setParser_MBR(void* parser) {}
void* init_Phone(void* name, float length) { return NULL; }
void reset_Phone(void* phone) {}
void close_Phone(void* phone) {}
void appendf0_Phone(void* phone, float position, float freq) {}

/* For the tests. */
const char* fake_init_path(void) { return initPath; }
int fake_closes(void) { return closes; }
void fake_fail_on(const char* phoneme) { snprintf(failOn, sizeof failOn, "%s", phoneme); }
void fake_line_samples(const int* counts, int n) {
  lineSampleCount = n < 16 ? n : 16;
  for (int i = 0; i < lineSampleCount; ++i) lineSamples[i] = counts[i];
}

/* libteluma-mbrola.so: our diphone voice behind the MBROLA programming interface.
 *
 * Load it at run time by name ("libteluma-mbrola.so", found through the RUNPATH that every
 * program of the build tree carries: build/lib) and resolve the 23 entry points below by name.
 * Every entry point has C linkage and the platform's default calling convention.
 *
 * Sound: 16-bit signed mono samples, 16000 per second unless setFreq_MBR changes the rate.
 * Input: MBROLA lines, "NAME DURATION [POSITION PITCH]...", duration in milliseconds,
 * position in percent of the phoneme (0-100), pitch in hertz. ";" starts a comment, blank lines
 * are ignored, a line "#" flushes like flush_MBR. Lines may arrive in any pieces; a line ends at
 * LF (a CR before it is dropped).
 *
 * Bounds of the input (anything beyond them is an error the caller can read; the line is still
 * used as far as it is sound):
 *   - a line holds at most MBR_MAX_LINE bytes; a longer line is skipped whole;
 *   - a duration lies in 0..MBR_MAX_DURATION_MS; outside it is clamped;
 *   - a phoneme carries at most MBR_MAX_PITCH_PAIRS pairs; further pairs are ignored;
 *   - positions lie in 0..100 (clamped), pitches in MBR_MIN_PITCH..MBR_MAX_PITCH (a pair with
 *     another pitch, 0, NaN or infinity is dropped);
 *   - an unknown phoneme is spoken as a pause of its duration.
 * A missing diphone is bridged by the nearest pair of the same phoneme classes; it is reported
 * (MBR_ERROR_MISSING_DIPHONE) only while the no-error mode is off.
 *
 * Errors do not stop anything: the last error stays readable until reset_MBR or the next
 * error. Nothing here is thread-safe; one voice per process.
 */
#ifndef TELUMA_MBROLA_H
#define TELUMA_MBROLA_H

#ifdef __cplusplus
extern "C" {
#endif

#define MBR_LIBRARY_NAME "libteluma-mbrola.so"

#define MBR_MAX_LINE 1024
#define MBR_MAX_DURATION_MS 10000
#define MBR_MAX_PITCH_PAIRS 20
#define MBR_MIN_PITCH 20.0f
#define MBR_MAX_PITCH 1000.0f

/* lastError_MBR codes; 0 is no error. */
enum {
  MBR_ERROR_NONE = 0,
  MBR_ERROR_DATABASE = 1,        /* the database cannot be read or is damaged */
  MBR_ERROR_NOT_READY = 2,       /* called before a successful init_MBR */
  MBR_ERROR_UNKNOWN_PHONEME = 3, /* a name the database does not have */
  MBR_ERROR_DURATION = 4,        /* missing, not a number, negative or too long */
  MBR_ERROR_PITCH = 5,           /* a bad position or pitch, or too many pairs */
  MBR_ERROR_LINE = 6,            /* a line too long or holding NUL bytes */
  MBR_ERROR_MISSING_DIPHONE = 7, /* a pair the database lacks (bridged) */
  MBR_ERROR_ARGUMENT = 8         /* a bad argument to an entry point */
};

/* readtype_MBR sample types. */
enum {
  MBR_LIN16 = 0, /* 16-bit signed, as read_MBR */
  MBR_LIN8 = 1,  /* 8-bit unsigned, 128 is silence */
  MBR_ULAW = 2,  /* G.711 mu-law bytes */
  MBR_ALAW = 3   /* G.711 A-law bytes */
};

/* A phoneme as the phone helpers build it, for a parser installed with setParser_MBR. */
typedef struct MbrPhone MbrPhone;

/* A source of phonemes replacing the line parser. next_phone returns 1 and a phoneme made with
 * init_Phone (the library then owns it and frees it with close_Phone), 0 when nothing is
 * available yet, -1 at the end of a text (the same as a flush). reset is called by reset_MBR
 * and close by close_MBR or when another parser is set; either may be null. */
typedef struct MbrParser {
  void* context;
  int (*next_phone)(void* context, MbrPhone** phone);
  void (*reset)(void* context);
  void (*close)(void* context);
} MbrParser;

/* Opens the database at a host path or at a system path ("c:\qorbel\koraltts\br4", mapped onto
 * the data tree as every program maps it: TELUMA_ROOT); 0 on success, negative on failure
 * (lastError tells). */
int init_MBR(const char* database_path);
/* As init_MBR, and then applies two lists of name pairs separated by blanks or new lines:
 * renames ("new old ..."): input name new means database phoneme old, and old is no longer
 * accepted; clones ("new old ..."): new is accepted as well as old. Either may be null. */
int init_rename_MBR(const char* database_path, const char* renames, const char* clones);
/* Takes bytes of MBROLA lines (zero-terminated, any pieces); returns the count taken, or
 * negative when the voice is not open. Sound for a phoneme can be read once its right
 * neighbour is known. */
int write_MBR(const char* lines);
/* Ends the text: the last phoneme is followed by silence and all its sound becomes readable. */
int flush_MBR(void);
/* Up to capacity samples of 16-bit sound into buffer; the count written, 0 when none. */
int read_MBR(short* buffer, int capacity);
/* As read_MBR, in one of the MBR_* sample types (bytes for the 8-bit types); -1 for an
 * unknown type. */
int readtype_MBR(void* buffer, int capacity, int type);
/* Frees the database and everything of the voice. */
void close_MBR(void);
/* Forgets the text written and not yet read, and the last error. */
void reset_MBR(void);
int lastError_MBR(void);
/* The last error's text (Windows-1252) into buffer, cut to capacity - 1 bytes and
 * zero-terminated; returns the text's full length. */
int lastErrorStr_MBR(char* buffer, int capacity);
/* With 1, missing diphones are bridged silently. */
void setNoError_MBR(int no_error);
int getNoError_MBR(void);
/* Output sample rate, 8000 to 48000 (others are ignored); durations and pitch are kept. */
void setFreq_MBR(int frequency);
int getFreq_MBR(void);
/* Multiplies every sample (0 to 16; others are ignored). */
void setVolumeRatio_MBR(float ratio);
float getVolumeRatio_MBR(void);
/* The library's version text; returns its full length. */
int getVersion_MBR(char* buffer, int capacity);
/* Line index of the open database's description (0: name, 1: format version, 2: sample rate,
 * 3: phonemes, 4: diphones, 5: phoneme names); returns the full length, -1 past the end. */
int getDatabaseInfo_MBR(char* buffer, int capacity, int index);
/* Installs a phoneme source in place of the line parser; null restores the line parser. The
 * struct is copied. */
void setParser_MBR(const MbrParser* parser);
/* A phoneme of the given name and duration (ms); null for a bad name. */
MbrPhone* init_Phone(const char* name, float duration_ms);
/* Clears the phoneme's pitch targets. */
void reset_Phone(MbrPhone* phone);
/* Frees a phoneme that the library has not taken. */
void close_Phone(MbrPhone* phone);
/* Adds a pitch target (position in percent, pitch in Hz); 0 on success, -1 when refused. */
int appendf0_Phone(MbrPhone* phone, float position, float pitch);

#ifdef __cplusplus
}
#endif

#endif

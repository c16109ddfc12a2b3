/* Kanafix: repairs the Japanese fonts of PDF files.
 *
 * A host calls KanafixInitialize once, then DoKanafix once per file. Both use
 * the platform's C calling convention and plain C types; strings are
 * NUL-terminated bytes in the process's multi-byte encoding.
 */
#ifndef KANAFIX_H
#define KANAFIX_H

#ifdef __cplusplus
extern "C" {
#endif

/* The interface version DoKanafix accepts. */
#define KANAFIX_INTERFACE_VERSION "1.2.0"

/* The largest message DoKanafix writes into errorText, terminator included.
 * Longer messages are cut to fit. */
#define KANAFIX_ERROR_TEXT_SIZE 4096

/* Sets the Japanese locale, opens the log file for appending (logPath may be
 * null or empty: no log) and stores the directory for temporary files (tempDir
 * null: unchanged; empty: the system's). Only the first successful call has an
 * effect. Returns 1 on success, 0 when no Japanese locale could be set. */
int KanafixInitialize(const char* logPath, const char* tempDir);

/* Repairs inputPath into outputPath (null or empty: in place). Replaces every
 * font named after an installed Shift-JIS TrueType font, or HeiseiMin-W3 or
 * HeiseiKakuGo-W5, by a complete Type 0 font, appended as one incremental
 * update. version must be KANAFIX_INTERFACE_VERSION or null. Returns 0 on
 * success; 1 on failure, with a message of at most KANAFIX_ERROR_TEXT_SIZE
 * bytes in errorText when errorText is not null. A failed run never changes
 * the input file and leaves no partial output. */
int DoKanafix(const char* inputPath, const char* outputPath, char* errorText, const char* version);

#ifdef __cplusplus
}
#endif

#endif /* KANAFIX_H */

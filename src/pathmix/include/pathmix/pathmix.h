#pragma once
/* String and path helpers, built as a shared library of their own and
 * loaded by the program at run time. Strings cross as UTF-8; every string
 * result is allocated here and must be released with PathMixFreeString.
 * Positions are 1-based, as the callers count them. */

#ifdef _WIN32
#define PATHMIX_API __declspec(dllexport)
#else
#define PATHMIX_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Non-zero when path names an existing regular file. */
PATHMIX_API short APIFileExists(const char* path);
/* The text that follows leading, which begins text; text itself when it does not. */
PATHMIX_API char* RemainingString(const char* text, const char* leading);
/* text with each occurrence of find replaced by replacement. */
PATHMIX_API char* ReplaceString(const char* text, const char* find, const char* replacement);
/* path as a folder path ending in the platform's separator. */
PATHMIX_API char* NormalizePath(const char* path);
/* The text after the last separator; empty when path ends in one. */
PATHMIX_API char* GetLastItemInPath(const char* path);
/* 1-based position of the first separator at or after start; 0 when none. */
PATHMIX_API short GetNextSlashPos(const char* path, short start);
/* The first length bytes of buffer up to its first NUL. */
PATHMIX_API char* StripNull(const char* buffer, int length);
/* Releases a string returned by this library. */
PATHMIX_API void PathMixFreeString(char* text);

#ifdef __cplusplus
}
#endif

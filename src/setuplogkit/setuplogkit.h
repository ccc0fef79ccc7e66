/* SetupLogKit: the installation log library. Every product's setup writes through its one function. */
#pragma once

#ifdef _WIN32
#ifdef SETUPLOGKIT_BUILDING
#define SETUPLOGKIT_API __declspec(dllexport)
#else
#define SETUPLOGKIT_API __declspec(dllimport)
#endif
#else
#define SETUPLOGKIT_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Appends one line to the installation log: time stamp, source, message class, message.
 * messageClass: 0 error, 2 information (others are written as their number).
 * target: 2 is the installation log; it is recorded for compatibility only.
 * Returns 0 when the line was written, otherwise a Win32 error code (Windows) or errno. */
SETUPLOGKIT_API int KOVA_WriteToInstallLogFile(const wchar_t* source, const wchar_t* message, int messageClass,
                                               int target);

#ifdef __cplusplus
}
#endif

/* The function's type, for loading the library by name. */
typedef int (*KovaWriteToInstallLogFileFn)(const wchar_t*, const wchar_t*, int, int);

/* The environment variable naming the log file; without it the library uses its default (docs/install-log.md). */
#define SETUPLOGKIT_LOG_FILE_VARIABLE "SETUPLOGKIT_LOG_FILE"

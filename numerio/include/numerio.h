/* numerio: number formatting, parsing and files that always behave as in
 * the "C" locale (decimal point, no grouping), whatever regional settings
 * the host runs under, and never change the host's locale.
 *
 * Each function has the arguments, result and behaviour of the standard
 * function it is named after. Streams are the library's own objects: open
 * them with fopen_CL/_tfopen_CL and pass them only to this library. A null
 * or unknown stream gives EOF, -1 or NULL with errno set to EINVAL.
 *
 * The conversions are the C standard's, with the platform's additions: the
 * length modifiers I32, I64, I and w, and in the wide functions "%s"/"%c"
 * take wide text while "%S"/"%C" take narrow text (in the narrow functions
 * the other way round). sprintf_CL and _stprintf_CL write without a size
 * limit: the caller provides room.
 */
#ifndef NUMERIO_H
#define NUMERIO_H

#include <stddef.h>
#include <wchar.h>

#ifdef NUMERIO_BUILDING
#define NUMERIO_API
#elif defined(_WIN32)
#define NUMERIO_API __declspec(dllimport)
#else
#define NUMERIO_API
#endif

#ifdef _WIN32
#define NUMERIO_CALL __cdecl
#else
#define NUMERIO_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

NUMERIO_API int NUMERIO_CALL sprintf_CL(char* buffer, const char* format, ...);
NUMERIO_API int NUMERIO_CALL fprintf_CL(void* stream, const char* format, ...);
NUMERIO_API int NUMERIO_CALL sscanf_CL(const char* text, const char* format, ...);
NUMERIO_API int NUMERIO_CALL fscanf_CL(void* stream, const char* format, ...);
NUMERIO_API double NUMERIO_CALL strtod_CL(const char* text, char** end);
NUMERIO_API double NUMERIO_CALL atof_CL(const char* text);
NUMERIO_API void* NUMERIO_CALL fopen_CL(const char* name, const char* mode);
NUMERIO_API int NUMERIO_CALL fclose_CL(void* stream);
NUMERIO_API int NUMERIO_CALL fseek_CL(void* stream, long offset, int origin);
NUMERIO_API long NUMERIO_CALL ftell_CL(void* stream);

NUMERIO_API int NUMERIO_CALL _stprintf_CL(wchar_t* buffer, const wchar_t* format, ...);
NUMERIO_API int NUMERIO_CALL fwprintf_CL(void* stream, const wchar_t* format, ...);
NUMERIO_API int NUMERIO_CALL swscanf_CL(const wchar_t* text, const wchar_t* format, ...);
NUMERIO_API int NUMERIO_CALL fwscanf_CL(void* stream, const wchar_t* format, ...);
NUMERIO_API double NUMERIO_CALL wcstod_CL(const wchar_t* text, wchar_t** end);
NUMERIO_API double NUMERIO_CALL _wtof_CL(const wchar_t* text);
NUMERIO_API void* NUMERIO_CALL _tfopen_CL(const wchar_t* name, const wchar_t* mode);
NUMERIO_API int NUMERIO_CALL _tfclose_CL(void* stream);
NUMERIO_API int NUMERIO_CALL _tfseek_CL(void* stream, long offset, int origin);
NUMERIO_API long NUMERIO_CALL _tftell_CL(void* stream);

#ifdef __cplusplus
}
#endif

#endif /* NUMERIO_H */

// The optional trace log next to the library (switched on in drawapi.ini).
#pragma once
#include <windows.h>

namespace lmc32 {

// Reads the setting once per load, from the folder of `module`.
void LoadTraceSetting(HMODULE module);
bool TraceEnabled();

void TraceBegin(const char* name, const char* detail);
void TraceEnd(const char* name, const char* detail);
void TracePlain(const char* name, const char* detail);

}  // namespace lmc32

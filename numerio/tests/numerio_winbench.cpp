// numerio against the platform's C runtime (msvcrt) on the same values,
// run by hand under Wine: prints nanoseconds per call and the ratios.
#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "numerio.h"

namespace {

// The runtime's own functions, bound directly from msvcrt so that the
// comparison is with what hosts of this platform actually call.
using SprintfFn = int(__cdecl*)(char*, const char*, ...);
using StrtodFn = double(__cdecl*)(const char*, char**);

template <typename Body>
double ns_per_call(int calls, Body body) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i) body(i);
    std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
    return took.count() / calls;
}

}  // namespace

int main() {
    HMODULE crt = LoadLibraryW(L"msvcrt.dll");
    auto crt_sprintf = reinterpret_cast<SprintfFn>(reinterpret_cast<void*>(GetProcAddress(crt, "sprintf")));
    auto crt_strtod = reinterpret_cast<StrtodFn>(reinterpret_cast<void*>(GetProcAddress(crt, "strtod")));
    if (!crt_sprintf || !crt_strtod) return 1;

    std::mt19937_64 rng(20261211);
    std::uniform_real_distribution<double> exponent(-30, 30), mantissa(-1, 1);
    std::vector<double> values;
    std::vector<std::string> texts;
    char buf[512];
    for (int i = 0; i < 4096; ++i) {
        values.push_back(mantissa(rng) * std::pow(10.0, exponent(rng)));
        sprintf_CL(buf, "%.17g", values.back());
        texts.emplace_back(buf);
    }
    const int calls = 200000;
    double sink = 0;
    struct Row {
        const char* what;
        double numerio, runtime;
    } rows[] = {
        {"sprintf %.17g", ns_per_call(calls, [&](int i) { sink += sprintf_CL(buf, "%.17g", values[i & 4095]); }),
         ns_per_call(calls, [&](int i) { sink += crt_sprintf(buf, "%.17g", values[i & 4095]); })},
        {"sprintf %.6f", ns_per_call(calls, [&](int i) { sink += sprintf_CL(buf, "%.6f", values[i & 4095]); }),
         ns_per_call(calls, [&](int i) { sink += crt_sprintf(buf, "%.6f", values[i & 4095]); })},
        {"strtod", ns_per_call(calls, [&](int i) { sink += strtod_CL(texts[i & 4095].c_str(), nullptr); }),
         ns_per_call(calls, [&](int i) { sink += crt_strtod(texts[i & 4095].c_str(), nullptr); })},
    };
    std::printf("%-16s %12s %12s %8s\n", "", "numerio ns", "msvcrt ns", "ratio");
    for (const Row& r : rows)
        std::printf("%-16s %12.1f %12.1f %8.2f\n", r.what, r.numerio, r.runtime, r.runtime / r.numerio);
    return sink == 0.5 ? 2 : 0;
}

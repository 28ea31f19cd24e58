// numerio against the C runtime on the same values: formatting with
// "%.17g" and "%.6f", and strtod. Ratios are what matter, not seconds.
#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "numerio.h"

namespace {

const std::vector<double>& values() {
    static const std::vector<double> v = [] {
        std::mt19937_64 rng(20261211);
        std::vector<double> out;
        std::uniform_real_distribution<double> exponent(-30, 30);
        for (int i = 0; i < 4096; ++i) {
            double mantissa = std::uniform_real_distribution<double>(-1, 1)(rng);
            out.push_back(mantissa * std::pow(10.0, exponent(rng)));
        }
        return out;
    }();
    return v;
}

const std::vector<std::string>& texts() {
    static const std::vector<std::string> t = [] {
        std::vector<std::string> out;
        char buf[64];
        for (double d : values()) {
            std::snprintf(buf, sizeof buf, "%.17g", d);
            out.emplace_back(buf);
        }
        return out;
    }();
    return t;
}

template <int (*Format)(char*, const char*, double)>
void format_values(benchmark::State& state, const char* format) {
    char buf[512];
    std::size_t i = 0;
    const auto& v = values();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Format(buf, format, v[i++ & 4095]));
        benchmark::ClobberMemory();
    }
}

int with_numerio(char* buf, const char* format, double d) { return sprintf_CL(buf, format, d); }
int with_runtime(char* buf, const char* format, double d) { return std::snprintf(buf, 512, format, d); }

void BM_numerio_sprintf_17g(benchmark::State& s) { format_values<with_numerio>(s, "%.17g"); }
void BM_runtime_sprintf_17g(benchmark::State& s) { format_values<with_runtime>(s, "%.17g"); }
void BM_numerio_sprintf_6f(benchmark::State& s) { format_values<with_numerio>(s, "%.6f"); }
void BM_runtime_sprintf_6f(benchmark::State& s) { format_values<with_runtime>(s, "%.6f"); }

template <double (*Parse)(const char*, char**)>
void parse_texts(benchmark::State& state) {
    std::size_t i = 0;
    const auto& t = texts();
    for (auto _ : state) {
        char* end;
        benchmark::DoNotOptimize(Parse(t[i++ & 4095].c_str(), &end));
    }
}

double runtime_strtod(const char* s, char** end) { return std::strtod(s, end); }

void BM_numerio_strtod(benchmark::State& s) { parse_texts<strtod_CL>(s); }
void BM_runtime_strtod(benchmark::State& s) { parse_texts<runtime_strtod>(s); }

BENCHMARK(BM_numerio_sprintf_17g);
BENCHMARK(BM_runtime_sprintf_17g);
BENCHMARK(BM_numerio_sprintf_6f);
BENCHMARK(BM_runtime_sprintf_6f);
BENCHMARK(BM_numerio_strtod);
BENCHMARK(BM_runtime_strtod);

}  // namespace

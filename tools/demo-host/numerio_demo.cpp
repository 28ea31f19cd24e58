// A host program under German regional settings: its own runtime writes
// "1234,500", numerio writes and reads a numbers file in the "C" form.
#include <windows.h>

#include <clocale>
#include <cstdio>

#include "numerio.h"

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "numbers.txt";
    setlocale(LC_ALL, "German");
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));

    char own[32], ours[32];
    snprintf(own, sizeof own, "%.3f", 1234.5);
    sprintf_CL(ours, "%.3f", 1234.5);
    printf("host locale %s\n", setlocale(LC_ALL, nullptr));
    printf("  host runtime : %s\n  numerio      : %s\n", own, ours);

    void* f = fopen_CL(path, "w");
    if (!f) {
        printf("cannot create %s\n", path);
        return 1;
    }
    const double values[] = {1234.5, -0.001, 6.02214076e23, 0.1};
    for (double v : values) fprintf_CL(f, "%.17g;%.3f;%e\n", v, v, v);
    fclose_CL(f);
    printf("wrote %s\n", path);

    f = fopen_CL(path, "r");
    if (!f) return 1;
    int ok = 0;
    double exact, fixed, sci;
    while (fscanf_CL(f, "%lf;%lf;%lf", &exact, &fixed, &sci) == 3) {
        bool same = exact == values[ok];
        printf("  read %-24.17g %s\n", exact, same ? "(identical)" : "(DIFFERS)");
        if (!same) return 1;
        ++ok;
    }
    fclose_CL(f);
    printf("read back %d of %d values exactly\n", ok, 4);
    return ok == 4 ? 0 : 1;
}

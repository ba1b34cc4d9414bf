// The control of the planted-DLL story: a program that leaves the system's DLL search as it is
// and loads each DLL it is given by name, as Windows loads a DLL on a program's behalf. Built
// without the stack guard, whose start would load the system's crypto provider by name before
// main. Prints where each came from. Usage: vz_planted_probe NAME.dll...
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        const HMODULE module = LoadLibraryA(argv[i]);
        char path[MAX_PATH] = "";
        if (module != nullptr)
            GetModuleFileNameA(module, path, MAX_PATH);
        std::printf("%s: %s\n", argv[i], module != nullptr ? path : "not loaded");
        failed += module == nullptr;
    }
    return failed == 0 ? 0 : 1;
}

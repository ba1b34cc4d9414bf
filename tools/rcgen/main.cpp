// vuvereze-rcgen DIR: writes the Windows resource script and manifest generated from the
// templates into DIR (Vuvereze.rc, Vuvereze.manifest).
#include <cstdio>
#include <fstream>
#include <string>

#include "resources/Resource.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vuvereze-rcgen DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::ofstream rc(dir + "/Vuvereze.rc", std::ios::binary);
    rc << res::ResourceScript();
    std::ofstream manifest(dir + "/Vuvereze.manifest", std::ios::binary);
    manifest << res::ApplicationManifest();
    if (!rc || !manifest) {
        std::fprintf(stderr, "vuvereze-rcgen: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}

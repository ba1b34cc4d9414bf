// vuvereze-rcgen DIR: writes the Windows resource scripts and manifests generated from the
// templates into DIR (Vuvereze.rc, Vuvereze.manifest, and those of the console tools and the
// simulated card's DLL).
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
    for (const res::GeneratedFile& file : res::GeneratedResourceFiles()) {
        std::ofstream out(dir + "/" + file.name, std::ios::binary);
        out << file.text;
        out.close();
        if (!out) {
            std::fprintf(stderr, "vuvereze-rcgen: cannot write %s/%s\n", dir.c_str(),
                         file.name.c_str());
            return 1;
        }
    }
    return 0;
}

// The manifests of the shipped Windows images, and the list of generated files. A program without
// one runs, under User Account Control, with its writes to the system folder quietly redirected
// into the user's own store: every program says how it wants to be run, so that a refused write is
// an error it sees.
#include <string>
#include <vector>

#include "resources/Resource.h"

namespace res {
namespace {

const char* const kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n";

std::string TrustInfo(const char* level) {
    return std::string(
               "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
               "    <security>\n"
               "      <requestedPrivileges>\n"
               "        <requestedExecutionLevel level=\"") +
           level +
           "\" uiAccess=\"false\"/>\n"
           "      </requestedPrivileges>\n"
           "    </security>\n"
           "  </trustInfo>\n";
}

// The systems the programs are made and tested for, so that Windows gives them its current
// behaviour rather than that of an older system: 7, 8, 8.1, and 10 (which 11 reports too).
const char* const kCompatibility =
    "  <compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">\n"
    "    <application>\n"
    "      <supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>\n"
    "      <supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>\n"
    "      <supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>\n"
    "      <supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>\n"
    "    </application>\n"
    "  </compatibility>\n";

const char* const kTail = "</assembly>\n";

}  // namespace

std::string ApplicationManifest() {
    // The table lives in the system folder: an administrator is asked to elevate, a standard
    // user runs as they are.
    return kHead + TrustInfo("highestAvailable") + kCompatibility +
           "  <application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
           "    <windowsSettings>\n"
           "      <dpiAware "
           "xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>\n"
           "    </windowsSettings>\n"
           "  </application>\n"
           "  <dependency>\n"
           "    <dependentAssembly>\n"
           "      <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" "
           "version=\"6.0.0.0\" processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" "
           "language=\"*\"/>\n"
           "    </dependentAssembly>\n"
           "  </dependency>\n" +
           kTail;
}

std::string ConsoleManifest() {
    // A command runs with the rights of the prompt it is started from, so a script never stops
    // at an elevation prompt, and a write the system refuses fails where it can be seen.
    return kHead + TrustInfo("asInvoker") + kCompatibility + kTail;
}

std::string LibraryManifest() {
    // The process that loads a DLL decides its privileges and its system's behaviour: the DLL's
    // own manifest asks for nothing, and names the systems it is made for.
    return kHead + std::string(kCompatibility) + kTail;
}

const std::vector<ImageResources>& ShippedImages() {
    static const std::vector<ImageResources> images = {
        {"vuvereze-device.exe", "Vuvereze device command", "Console.manifest", false},
        {"vuvereze-table.exe", "Vuvereze table tool", "Console.manifest", false},
        {"vz_simcard.dll", "Vuvereze simulated capture card", "vz_simcard.manifest", true},
    };
    return images;
}

std::vector<GeneratedFile> GeneratedResourceFiles() {
    std::vector<GeneratedFile> files = {
        {"Vuvereze.rc", ResourceScript()},
        {"Vuvereze.manifest", ApplicationManifest()},
        {"Console.manifest", ConsoleManifest()},
        {"vz_simcard.manifest", LibraryManifest()},
    };
    for (const ImageResources& image : ShippedImages()) {
        std::string script = image.fileName;
        files.push_back({script.substr(0, script.rfind('.')) + ".rc", ImageResourceScript(image)});
    }
    return files;
}

}  // namespace res

// The Windows resource script comes from the same templates as every other host.
#include <gtest/gtest.h>

#include "resources/Resource.h"

namespace res {
namespace {

TEST(ResourceScript, HoldsEveryDialogWithItsControls) {
    const std::string rc = ResourceScript();
    EXPECT_NE(rc.find("100 DIALOGEX 0, 0, 170, 62"), std::string::npos);
    EXPECT_NE(rc.find("102 DIALOGEX 0, 0, 268, 289"), std::string::npos);
    EXPECT_NE(rc.find("129 DIALOGEX 0, 0, 229, 160"), std::string::npos);
    EXPECT_NE(rc.find("130 DIALOGEX 0, 0, 389, 213"), std::string::npos);
    // The modeline field right after the label that names it.
    EXPECT_NE(rc.find("CONTROL \"Modeline:\", -1, \"STATIC\", 0x50000000, 252, 9, 130, 8\n"
                      "    CONTROL \"\", 1079, \"EDIT\", 0x50810080, 252, 19, 130, 14"),
              std::string::npos);
    EXPECT_NE(rc.find("CONTROL \"Standard...\", 1064, \"BUTTON\", 0x50010000, 170, 89, 52, 14"),
              std::string::npos);
    EXPECT_NE(rc.find("CONTROL \"\", 1076, \"SysListView32\""), std::string::npos);
    EXPECT_NE(rc.find("CAPTION \"Zeriveve\""), std::string::npos);
    EXPECT_NE(rc.find("CAPTION \"  \""), std::string::npos);
    EXPECT_NE(rc.find("FONT 11, \"MS Shell Dlg\""), std::string::npos);
    EXPECT_NE(rc.find("101 \"關於 Vuvereze(&A)...\""), std::string::npos);
    // Disabled at creation, and the hidden register fields never visible.
    EXPECT_NE(rc.find("CONTROL \"Lock\", 1001, \"BUTTON\", 0x58010000, 211, 7, 50, 14"),
              std::string::npos);
    EXPECT_NE(rc.find("CONTROL \"\", 1040, \"EDIT\", 0x40810080"), std::string::npos);
    // "Negtive" as the little-endian words of its bytes, in a resource of type 240 (dialog-init
    // data), with a comma after every value so that every resource compiler reads it.
    EXPECT_NE(rc.find("129 240\nBEGIN\n"), std::string::npos);
    EXPECT_NE(rc.find("1054, 0x403, 8, 0,\n    0x654E, 0x7467, 0x7669, 0x0065,"),
              std::string::npos);
}

TEST(ResourceScript, AnOddLengthItemIsNotPaddedSinceItsReaderStepsByTheLength) {
    const std::string rc = ResourceScript();
    // "Positive" and its terminator: nine bytes, the ninth a one-byte string.
    EXPECT_NE(rc.find("1054, 0x403, 9, 0,\n    0x6F50, 0x6973, 0x6974, 0x6576, \"\\000\","),
              std::string::npos);
    EXPECT_EQ(rc.find("0x6576, 0x0000"), std::string::npos);
}

TEST(ResourceScript, CarriesTheVersionAndTheManifest) {
    const std::string rc = ResourceScript();
    // The numbers come from the project's version at build time; the program has carried
    // 1.0.0.5 since its first release.
    EXPECT_NE(rc.find("#include \"VuverezeVersion.h\"\n"), std::string::npos);
    EXPECT_NE(rc.find(" FILEVERSION VUVEREZE_VERSION_FIELDS\n"), std::string::npos);
    EXPECT_NE(rc.find("VALUE \"ProductVersion\", VUVEREZE_VERSION_TEXT\n"), std::string::npos);
    EXPECT_STREQ(VUVEREZE_VERSION_TEXT, "1.0.0.5");
    EXPECT_STREQ(kVersionText, VUVEREZE_VERSION_TEXT);
    EXPECT_NE(rc.find("VALUE \"OriginalFilename\", \"Vuvereze.exe\""), std::string::npos);
    EXPECT_NE(rc.find("VALUE \"Translation\", 0x404, 1200"), std::string::npos);
    const std::string manifest = ApplicationManifest();
    EXPECT_NE(manifest.find("level=\"highestAvailable\" uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
}

// A program without a manifest runs under User Account Control with its writes to the system
// folder redirected into the user's own store, and says it wrote the table: every image says
// how it is run.
TEST(ResourceScript, EveryShippedImageSaysHowItIsRun) {
    const auto level = [](const std::string& manifest) {
        const size_t at = manifest.find("requestedExecutionLevel level=\"");
        return at == std::string::npos
                   ? std::string()
                   : manifest.substr(at + 31, manifest.find('"', at + 31) - at - 31);
    };
    EXPECT_EQ(level(ApplicationManifest()), "highestAvailable");
    EXPECT_EQ(level(ConsoleManifest()), "asInvoker");
    EXPECT_EQ(level(LibraryManifest()), "");
    for (const std::string& manifest :
         {ApplicationManifest(), ConsoleManifest(), LibraryManifest()}) {
        for (const char* system : {"35138b9a", "4a2f28e3", "1f676c76", "8e0f7a12"})
            EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"{") + system), std::string::npos)
                << system;
    }
}

TEST(ResourceScript, TheToolsAndTheLibraryCarryTheirOwnNamesAndTheProjectsVersion) {
    for (const ImageResources& image : ShippedImages()) {
        const std::string rc = ImageResourceScript(image);
        const std::string name = image.fileName;
        EXPECT_NE(rc.find("VALUE \"OriginalFilename\", \"" + name + "\""), std::string::npos);
        EXPECT_NE(rc.find("VALUE \"FileVersion\", VUVEREZE_VERSION_TEXT"), std::string::npos);
        EXPECT_NE(rc.find(image.library ? " FILETYPE 0x2L" : " FILETYPE 0x1L"), std::string::npos);
        // Windows reads a program's manifest from resource 1 and a DLL's own from 2.
        EXPECT_NE(rc.find(std::string(image.library ? "2" : "1") + " RT_MANIFEST \"" +
                          image.manifest + "\""),
                  std::string::npos)
            << name;
    }
}

}  // namespace
}  // namespace res

// The simulated machine: its description file, the default machine, the driver's table reloads,
// the timing catalogue and the arithmetic the built-in formats are derived with.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "device/DriverProperties.h"
#include "device/DriverProtocol.h"
#include "format/FormatTable.h"
#include "format/TimingMath.h"
#include "platform/Platform.h"
#include "sim/VirtualSystem.h"
#include "tests/device/TempFolder.h"

namespace {

using namespace device;

class VirtualSystemTest : public ::testing::Test {
  protected:
    void TearDown() override { platform::SetAnsiCodePage(platform::CodePage::Utf8); }

    testing_support::CTempFolder m_folder;
};

TEST_F(VirtualSystemTest, TheDefaultMachineIsCreatedOnFirstUse) {
    std::string error;
    auto system = sim::CVirtualSystem::Open(m_folder.Path(), error);
    ASSERT_NE(system, nullptr) << error;
    EXPECT_TRUE(std::filesystem::exists(m_folder.File("machine.json")));
    EXPECT_EQ(system->Description(), sim::DefaultSystemDescription());
    ASSERT_TRUE(system->Activate(error)) << error;
    EXPECT_EQ(platform::SystemRoot(), m_folder.Path());
    EXPECT_EQ(platform::NativeProcessorArchitecture(), platform::PROCESSOR_ARCHITECTURE_AMD64);

    // The device box sorts the names the other way round from the enumeration.
    CVideoDevice device(system->Backend());
    std::vector<std::string> names = device.DeviceList();
    EXPECT_EQ(names, (std::vector<std::string>{"Zeriveve HD Capture", "Zeriveve Analog Capture"}));
    EXPECT_FALSE(std::is_sorted(names.begin(), names.end()));

    // The table reads as the main window reads it at Lock, from Sysnative on this 64-bit machine.
    fmt::FormatTable table;
    ASSERT_EQ(table.ReadFormatFile(""), fmt::kOk);
    EXPECT_EQ(table.TableDirectory, "C:\\Windows\\Sysnative");
    EXPECT_GE(table.BuiltinCount, 20);
    EXPECT_LE(table.BuiltinCount, 40);
    EXPECT_EQ(table.UserCount, 3);
    EXPECT_EQ(fmt::TagText(table.StagingTags[0]), "_vesa_support");
    EXPECT_EQ(fmt::TagText(table.StagingTags[table.BuiltinCount]), "_autogr_support");
    // Each driver loaded it when it started.
    EXPECT_EQ(system->Card(0).LoadedTableFile(), "format.bin");
    EXPECT_EQ(system->Card(0).LoadedRecords().size(), size_t(table.RecordCount));

    // A second open keeps what the folder holds.
    system->Description().CodePage = "big5";
    ASSERT_TRUE(system->Save(error)) << error;
    auto again = sim::CVirtualSystem::Open(m_folder.Path(), error);
    ASSERT_NE(again, nullptr) << error;
    EXPECT_EQ(again->Description().CodePage, "big5");
}

TEST_F(VirtualSystemTest, BuiltInRecordsCarryTheEditorsDerivation) {
    const auto& t = sim::FindStandardTiming("1920x1080p60")->Timing;
    const fmt::FormatRecord r = sim::RecordFromTiming(t, "_cea_support", 1);
    EXPECT_EQ(r.Registers.PLLDivRatio, 2200);
    EXPECT_EQ(r.Registers.FR_LL, 424);
    EXPECT_EQ(r.Registers.L_MAX, 1125);
    EXPECT_EQ(r.Registers.F1_VBI_START, 0x462);
    EXPECT_EQ(r.Registers.F1_VBI_END, 0x02A);
    EXPECT_EQ(r.Registers.F2_VBI_END, 0x48F);
    EXPECT_EQ(r.Registers.Word12, 2u);
    EXPECT_EQ(r.Timing.PixelClockMHz, 148);
    EXPECT_EQ(r.Timing.LineFreq, 6750);
    EXPECT_EQ(r.Timing.FrameRate, 6000);
    EXPECT_EQ(r.Timing.LineLengthRange, (fmt::RangeTriple{3354, 3394, 3434}));
    EXPECT_EQ(r.Timing.VSyncRange3, (fmt::RangeTriple{3, 5, 7}));
    EXPECT_EQ(r.Timing.VTotalRange2, (fmt::RangeTriple{1100, 1125, 1150}));
    EXPECT_EQ(r.Timing.Word64, 12u);

    const auto& ntsc = sim::FindStandardTiming("1920x1080i59.94")->Timing;
    const fmt::FormatRecord i = sim::RecordFromTiming(ntsc, "_cea_support", 1);
    EXPECT_EQ(i.Timing.FrameRate, 5994);
    EXPECT_EQ(i.Registers.FR_LL, 431);  // from the whole rate 59
    EXPECT_EQ(i.Registers.F1_VBI_START, 0x464);
    EXPECT_EQ(i.Registers.F2_VBI_END, 0x248);
}

TEST_F(VirtualSystemTest, TheDriverReloadsBySelector) {
    sim::SystemDescription description;
    description.Architecture = "x86";
    description.Devices.push_back({"Card", sim::NoSignal(), sim::NoSignal(), {}});
    sim::CVirtualSystem system(m_folder.Path(), description);
    std::string error;
    ASSERT_TRUE(system.Activate(error)) << error;
    sim::CSimCard& card = system.Card(0);
    EXPECT_TRUE(card.LoadedTable().empty());  // no "format.bin" when the driver started

    const auto user = sim::RecordFromTiming(sim::FindStandardTiming("800x600p60")->Timing, "u", 1);
    const auto builtin = sim::DefaultFormatTableFile();
    const auto test = fmt::EncodeTableFile(0, {user});
    auto write = [&](const char* name, const std::vector<uint8_t>& bytes) {
        ASSERT_TRUE(
            platform::ReplaceFileAtomically(system.System32File(name), bytes.data(), bytes.size()));
    };
    write("format.bin", builtin);
    write("testformat.bin", test);

    CVideoDevice device(system.Backend());
    device.BindByFriendlyName(u"Card");
    auto handle = device.CreateDeviceHandle(kDeviceHandleTag);
    EXPECT_TRUE(ReloadFormatTable(handle.get(), 1));
    EXPECT_EQ(card.LoadedTable(), builtin);
    EXPECT_TRUE(ReloadFormatTable(handle.get(), 2));
    EXPECT_EQ(card.LoadedTableFile(), "testformat.bin");
    EXPECT_EQ(card.LoadedRecords(), std::vector<fmt::FormatRecord>{user});

    // 0 puts back the table of the last "format.bin" load, not what the file holds now.
    write("format.bin", fmt::EncodeTableFile(0, {}));
    EXPECT_TRUE(ReloadFormatTable(handle.get(), 0));
    EXPECT_EQ(card.LoadedTable(), builtin);
    EXPECT_EQ(card.LoadedBuiltinCount(), 34);

    // A file without the table layout is refused and the table stays.
    write("testformat.bin", std::vector<uint8_t>(125, 0));
    EXPECT_FALSE(ReloadFormatTable(handle.get(), 2));
    write("testformat.bin", std::vector<uint8_t>(1, 0));
    EXPECT_FALSE(ReloadFormatTable(handle.get(), 2));
    std::filesystem::remove(system.System32File("testformat.bin"));
    EXPECT_FALSE(ReloadFormatTable(handle.get(), 2));
    EXPECT_EQ(card.LoadedTable(), builtin);
    EXPECT_EQ(card.Log(), (std::vector<std::string>{"SET RELOAD 1", "SET RELOAD 2", "SET RELOAD 0",
                                                    "SET RELOAD 2 FAILED", "SET RELOAD 2 FAILED",
                                                    "SET RELOAD 2 FAILED"}));
}

TEST_F(VirtualSystemTest, DescriptionsSurviveTheJsonRoundTrip) {
    sim::SystemDescription description = sim::DefaultSystemDescription();
    description.Architecture = "x86";
    description.CodePage = "windows-1252";
    sim::VideoTiming odd = sim::FindStandardTiming("1024x768p60")->Timing;
    odd.FrameRate = 59.87;
    odd.HTotal = 1350;
    description.Devices.push_back(
        {"影像擷取卡", sim::TimingSignal(odd), sim::NoSignal(), {"get-only", "removed"}});

    const std::string json = sim::FormatSystemDescription(description);
    sim::SystemDescription parsed;
    std::string error;
    ASSERT_TRUE(sim::ParseSystemDescription(json, parsed, error)) << error;
    EXPECT_EQ(parsed, description);
    EXPECT_NE(json.find("\"hdmi\": \"1920x1080p60\""), std::string::npos) << json;
}

TEST_F(VirtualSystemTest, ABadDescriptionSaysWhere) {
    struct Case {
        const char* Json;
        const char* Error;
    };
    const Case cases[] = {
        {"[1]", "the description is not a JSON object"},
        {R"({"architecture": "mips"})", "architecture: \"mips\" is not known"},
        {R"({"codePage": "koi8-r"})", "codePage: \"koi8-r\" is not known"},
        {R"({"devices": [{"friendlyName": "A", "inputs": {"hdmi": "1920x1080p61"}}]})",
         "devices[0].inputs.hdmi: \"1920x1080p61\" is not a standard timing"},
        {R"({"devices": [{"friendlyName": "A", "faults": ["melted"]}]})",
         "devices[0].faults: \"\"melted\"\" is not a fault"},
        {R"({"devices": [{"inputs": {}}]})", "devices[0].friendlyName: must be a text"},
        {R"({"devices": [{"friendlyName": "A", "inputs": {"vga": {"hActive": 640}}}]})",
         "devices[0].inputs.vga: \"hFrontPorch\" must be a whole number from 0 to 65535"},
    };
    for (const Case& c : cases) {
        sim::SystemDescription parsed;
        std::string error;
        EXPECT_FALSE(sim::ParseSystemDescription(c.Json, parsed, error)) << c.Json;
        EXPECT_EQ(error, c.Error);
    }
}

TEST(TimingCatalogue, NamesFindRealTimings) {
    const auto* p60 = sim::FindStandardTiming("1920x1080p60");
    ASSERT_NE(p60, nullptr);
    EXPECT_EQ(p60->Timing.HTotal, 2200);
    EXPECT_EQ(p60->Timing.VTotal, 1125);
    EXPECT_DOUBLE_EQ(sim::LineFrequencyHz(p60->Timing), 67500.0);
    EXPECT_EQ(sim::FindStandardTiming("1920x1080P60.00"), p60);
    EXPECT_NEAR(sim::FindStandardTiming("1280x720p59.94")->Timing.FrameRate, 59.94, 0.001);
    EXPECT_DOUBLE_EQ(sim::FindStandardTiming("1920x1080i60")->Timing.FrameRate, 60.0);
    for (const char* missing : {"1920x1080p61", "1920x1080", "x1080p60", "1920x1080q60", ""}) {
        EXPECT_EQ(sim::FindStandardTiming(missing), nullptr) << missing;
    }
    for (const sim::StandardTiming& entry : sim::StandardTimings()) {
        std::string why;
        EXPECT_TRUE(sim::IsPlausibleTiming(entry.Timing, &why)) << entry.Name << ": " << why;
        EXPECT_EQ(sim::FindStandardTiming(entry.Name), &entry);
        EXPECT_GE(entry.Timing.HActive, 640);
        EXPECT_LE(entry.Timing.VActive, 1080);
    }
}

TEST(TimingMath, WorkedExamples) {
    int32_t frLl = -1;
    ASSERT_TRUE(fmt::FrameLineLength(60, 1125, frLl));
    EXPECT_EQ(frLl, 424);
    ASSERT_TRUE(fmt::FrameLineLength(59, 1125, frLl));
    EXPECT_EQ(frLl, 431);
    EXPECT_FALSE(fmt::FrameLineLength(0, 1125, frLl));
    EXPECT_FALSE(fmt::FrameLineLength(60, 0, frLl));
    EXPECT_EQ(frLl, 431);
    EXPECT_EQ(fmt::ChipFrLl(0x1A8, true), 0x350);
    EXPECT_DOUBLE_EQ(fmt::PixelClockMHz(60, 1125, 2200), 148.5);
    EXPECT_DOUBLE_EQ(fmt::PixelClockMHz(59, 1125, 2200), 146.025);
    EXPECT_DOUBLE_EQ(fmt::PixelClockMHz(1000, 65535, 65535), 4294836.225);  // past 32 bits

    const fmt::VbiLines p = fmt::DeriveVbiLines(1125, 1080, 4, 5, false);
    EXPECT_EQ(p.VBackPorch, 36);
    EXPECT_EQ(p.F1Start, 0x462);
    EXPECT_EQ(p.F1End, 0x02A);
    EXPECT_EQ(p.F2Start, 0x462);
    EXPECT_EQ(p.F2End, 0x48F);
    const fmt::VbiLines i = fmt::DeriveVbiLines(1125, 1080, 5, 10, true);
    EXPECT_EQ(i.F1Start, 0x464);
    EXPECT_EQ(i.F1End, 0x015);
    EXPECT_EQ(i.F2Start, 0x231);
    EXPECT_EQ(i.F2End, 0x248);
    EXPECT_EQ(fmt::DeriveVbiLines(10, 12, 1, 0, false).F1End, 0xFFFE);  // -2 keeps 16 bits

    EXPECT_EQ(fmt::LineLengthCount(67500.0), 3394);
    EXPECT_EQ(fmt::LineLengthCount(0.0), 0);
    EXPECT_EQ(fmt::LineLengthCount(1.0), 0x3FFF);
    EXPECT_EQ(fmt::LineFreqField(3394), 6750);
    EXPECT_EQ(fmt::LineFreqField(0), 0);
    EXPECT_EQ(fmt::FrameRateField(59.94), 5994);
    EXPECT_EQ(fmt::FrameRateField(60000.0 / 1001.0), 5994);
    EXPECT_EQ(fmt::FrameRateField(60.0), 6000);
}

// The status of an input as a bound card answers it; -1 when the request fails.
int InputStatus(device::IDeviceBackend& backend, const char16_t* name, uint32_t input) {
    CVideoDevice video(backend);
    if (video.BindByFriendlyName(name) != S_OK)
        return -1;
    const auto handle = video.CreateDeviceHandle(kDeviceHandleTag);
    uint32_t status = 0;
    return handle && QueryInputStatus(handle.get(), input, &status) == S_OK
               ? static_cast<int>(status)
               : -1;
}

TEST_F(VirtualSystemTest, ARunningMachineFollowsTheEditsOfItsDescription) {
    std::string error;
    sim::SystemDescription first;
    sim::DeviceDescription hd;
    hd.FriendlyName = "HD";
    ASSERT_TRUE(sim::StandardSignal("1920x1080p60", hd.Hdmi));
    sim::DeviceDescription analog;
    analog.FriendlyName = "Analog";
    first.Devices = {hd, analog};
    {
        sim::CVirtualSystem writer(m_folder.Path(), first);
        ASSERT_TRUE(writer.Save(error)) << error;
    }
    auto system = sim::CVirtualSystem::Open(m_folder.Path(), error);
    ASSERT_NE(system, nullptr) << error;
    ASSERT_TRUE(system->Activate(error)) << error;
    EXPECT_EQ(InputStatus(system->Backend(), u"HD", kInputHdmi), 1);

    const auto edit = [&](const sim::SystemDescription& now) {
        const std::string json = sim::FormatSystemDescription(now);
        ASSERT_TRUE(platform::ReplaceFileAtomically(m_folder.File("machine.json"),
                                                    reinterpret_cast<const uint8_t*>(json.data()),
                                                    json.size()));
    };
    // The cable moves from HDMI to VGA: the card notices at its next request.
    sim::SystemDescription moved = first;
    moved.Devices[0].Hdmi = sim::NoSignal();
    ASSERT_TRUE(sim::StandardSignal("1280x720p60", moved.Devices[0].Vga));
    edit(moved);
    EXPECT_EQ(InputStatus(system->Backend(), u"HD", kInputHdmi), 0);
    EXPECT_EQ(InputStatus(system->Backend(), u"HD", kInputVga), 1);
    EXPECT_EQ(system->Card(0).Measure().Width, 1280);

    // Half saved, or not a description at all: nothing changes.
    const std::string broken = "{\"devices\": [";
    ASSERT_TRUE(platform::ReplaceFileAtomically(m_folder.File("machine.json"),
                                                reinterpret_cast<const uint8_t*>(broken.data()),
                                                broken.size()));
    EXPECT_EQ(InputStatus(system->Backend(), u"HD", kInputVga), 1);

    // Taken out of the description: the card is unplugged, no longer listed and answers
    // nothing; the other card goes on.
    sim::SystemDescription without = moved;
    without.Devices.erase(without.Devices.begin());
    edit(without);
    EXPECT_EQ(InputStatus(system->Backend(), u"HD", kInputVga), -1);
    EXPECT_TRUE(system->Card(0).Unplugged());
    EXPECT_EQ(CVideoDevice(system->Backend()).DeviceList(), std::vector<std::string>{"Analog"});
    EXPECT_EQ(InputStatus(system->Backend(), u"Analog", kInputVga), 0);

    // Put back, it is plugged in again.
    edit(moved);
    EXPECT_EQ(InputStatus(system->Backend(), u"HD", kInputVga), 1);
}

}  // namespace

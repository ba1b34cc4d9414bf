// The simulated card as the timing editor meets it: what it measures for what is programmed, the
// requests it refuses, its faults and its log.
#include <gtest/gtest.h>

#include "device/DriverProperties.h"
#include "device/DriverProtocol.h"
#include "format/TimingMath.h"
#include "sim/VirtualSystem.h"
#include "tests/device/TempFolder.h"

namespace {

using namespace device;
using Lines = std::vector<std::string>;

struct Detected {
    uint32_t Width = 0;
    uint32_t Height = 0;
    int32_t LineCount = 0;
};

class SimCardTest : public ::testing::Test {
  protected:
    void Start(const std::string& hdmi, const std::string& vga = "none", const Lines& faults = {}) {
        sim::DeviceDescription card;
        card.FriendlyName = "Card";
        ASSERT_TRUE(hdmi == "none" || sim::StandardSignal(hdmi, card.Hdmi));
        ASSERT_TRUE(vga == "none" || sim::StandardSignal(vga, card.Vga));
        card.Faults = faults;
        sim::SystemDescription description;
        description.Devices.push_back(card);
        m_system = std::make_unique<sim::CVirtualSystem>(m_folder.Path(), description);
        std::string error;
        ASSERT_TRUE(m_system->Activate(error)) << error;
        m_device = std::make_unique<CVideoDevice>(m_system->Backend());
        ASSERT_EQ(m_device->BindByFriendlyName(u"Card"), S_OK);
        m_handle = m_device->CreateDeviceHandle(kDeviceHandleTag);
        ASSERT_NE(m_handle, nullptr);
    }

    sim::CSimCard& Card() { return m_system->Card(0); }
    const DeviceHandle* Handle() const { return m_handle.get(); }

    Detected Detect() {
        Detected d;
        ReadFpgaRegister(Handle(), 0x4110, &d.Width);
        ReadFpgaRegister(Handle(), 0x4114, &d.Height);
        uint8_t b[2] = {};
        ReadChipRegisters(Handle(), 0x44, 0xB1, 2, b);
        d.LineCount = ((b[0] & 0x3F) << 8) | b[1];
        return d;
    }

    void Modify(uint32_t bus, uint32_t reg, uint8_t keep, uint32_t bits) {
        uint8_t b = 0;
        ReadChipRegisters(Handle(), bus, reg, 1, &b);
        b = static_cast<uint8_t>((b & keep) | bits);
        WriteChipRegisters(Handle(), bus, reg, 1, &b);
    }

    void SetDe(int hStart, int hEnd, int vStart, int vEnd) {
        Modify(0x44, 0x8B, 0xF0, ((hStart >> 8) & 3) << 2 | ((hEnd >> 8) & 3));
        Modify(0x44, 0x8D, 0, hStart & 0xFF);
        Modify(0x44, 0x8C, 0, hEnd & 0xFF);
        Modify(0x44, 0x8E, 0, (vStart & 0xF) << 4 | (vEnd & 0xF));
    }

    // Places a record's register values where the timing editor's writers put them.
    void Program(const std::string& standard) {
        const auto& t = sim::FindStandardTiming(standard)->Timing;
        const fmt::RegisterBlock r = sim::RecordFromTiming(t, "", 1).Registers;
        const uint16_t frLl = fmt::ChipFrLl(r.FR_LL, r.Interlace != 0);
        Modify(0x40, 0x16, 0xE0, (r.PLLDivRatio >> 8) & 0x1F);
        Modify(0x40, 0x17, 0, r.PLLDivRatio & 0xFF);
        Modify(0x44, 0x8F, 0xF8, (frLl >> 8) & 7);
        Modify(0x44, 0x90, 0, frLl & 0xFF);
        Modify(0x44, 0xAB, 0, (r.L_MAX >> 4) & 0xFF);
        Modify(0x44, 0xAC, 0x0F, (r.L_MAX & 0xF) << 4);
        Modify(0x44, 0x91, 0xBF, r.Interlace ? 0x40 : 0);
        Modify(0x44, 0xA5, 0, (r.F1_VBI_START >> 4) & 0xFF);
        Modify(0x44, 0xA6, 0x00, (r.F1_VBI_START & 0xF) << 4 | ((r.F1_VBI_END >> 8) & 0xF));
        Modify(0x44, 0xA7, 0, r.F1_VBI_END & 0xFF);
        Modify(0x44, 0xA8, 0, (r.F2_VBI_START >> 4) & 0xFF);
        Modify(0x44, 0xA9, 0x00, (r.F2_VBI_START & 0xF) << 4 | ((r.F2_VBI_END >> 8) & 0xF));
        Modify(0x44, 0xAA, 0, r.F2_VBI_END & 0xFF);
        SetDe(0, 0, 0, 0);
    }

    testing_support::CTempFolder m_folder;
    std::unique_ptr<sim::CVirtualSystem> m_system;
    std::unique_ptr<CVideoDevice> m_device;
    std::unique_ptr<DeviceHandle> m_handle;
};

TEST_F(SimCardTest, FreshFromPowerOnTheCardShowsTheInputAsItIs) {
    Start("1920x1080p60");
    const Detected d = Detect();
    EXPECT_EQ(d.Width, 1920u);
    EXPECT_EQ(d.Height, 1080u);
    EXPECT_EQ(d.LineCount, 3394);
    EXPECT_EQ(Card().Log(), (Lines{"GET FPGA 0x4110 -> 0x00000780", "GET FPGA 0x4114 -> 0x00000438",
                                   "GET CHIP 0x44 0xB1 2 -> 0x0D 0x42"}));
}

TEST_F(SimCardTest, TheInputsOwnTimingProgrammedKeepsItsSize) {
    Start("1920x1080p60");
    Program("1920x1080p60");
    EXPECT_FALSE(Card().Chip().Automatic());
    const Detected d = Detect();
    EXPECT_EQ(d.Width, 1920u);
    EXPECT_EQ(d.Height, 1080u);
}

TEST_F(SimCardTest, AnotherTimingProgrammedGivesAWrongSize) {
    Start("1920x1080p60");
    // The PLL samples 1650 clocks a line and the chip free-runs on 720p's line length.
    Program("1280x720p60");
    EXPECT_EQ(Detect().Width, 1440u);
    EXPECT_EQ(Detect().Height, 720u);
    EXPECT_FALSE(Card().Measure().LineLocked);

    Program("1920x1080p50");
    const Detected d = Detect();
    EXPECT_EQ(d.Width, 2304u);
    EXPECT_EQ(d.Height, 897u);
    EXPECT_EQ(d.LineCount, 3394);  // the input's line length does not depend on the program
}

TEST_F(SimCardTest, DataEnableOffsetsMoveTheWindowAndAlignmentConverges) {
    Start("1920x1080p60");
    Program("1920x1080p60");
    SetDe(10, 0, 2, -1);
    EXPECT_EQ(Detect().Width, 1910u);
    EXPECT_EQ(Detect().Height, 1077u);
    // Shifting start and end alike moves the picture without resizing it.
    SetDe(-5, -5, 3, 3);
    EXPECT_EQ(Detect().Width, 1920u);
    EXPECT_EQ(Detect().Height, 1080u);

    // A slightly wrong PLL: the editor's alignment sets DE_H_START to detected minus entered.
    Program("1920x1080p60");
    Modify(0x40, 0x17, 0, (2210 & 0xFF));  // 2200 -> 2210, same high bits
    const int32_t detected = static_cast<int32_t>(Detect().Width);
    EXPECT_EQ(detected, 1929);
    SetDe(detected - 1920, 0, 0, 0);
    EXPECT_EQ(Detect().Width, 1920u);
}

TEST_F(SimCardTest, AnInterlacedInputShowsItsFieldWhenProgrammedForIt) {
    Start("1920x1080i60");
    EXPECT_EQ(Detect().Height, 1080u);  // power-on: the frame as it is
    EXPECT_EQ(Detect().LineCount, 6788);
    Program("1920x1080i60");
    EXPECT_TRUE(Card().Measure().LineLocked);
    EXPECT_EQ(Detect().Width, 1920u);
    EXPECT_EQ(Detect().Height, 540u);
}

TEST_F(SimCardTest, TheCardMeasuresHdmiBeforeVgaAndReportsEachInputsStatus) {
    Start("none", "1280x1024p60");
    EXPECT_EQ(Detect().Width, 1280u);
    uint32_t vga = 9;
    uint32_t hdmi = 9;
    EXPECT_EQ(QueryInputStatus(Handle(), 1, &vga), S_OK);
    EXPECT_EQ(QueryInputStatus(Handle(), 2, &hdmi), S_OK);
    EXPECT_EQ(vga, 1u);
    EXPECT_EQ(hdmi, 0u);
    EXPECT_EQ(Card().Log().back(), "GET STATUS 2 -> 0");

    Card().SetInput(kInputHdmi, sim::FindStandardTiming("1280x720p60")->Timing);
    EXPECT_EQ(Detect().Width, 1280u);
    EXPECT_EQ(Detect().Height, 720u);

    Card().SetInput(kInputHdmi, std::nullopt);
    Card().SetInput(kInputVga, std::nullopt);
    const Detected none = Detect();
    EXPECT_EQ(none.Width, 0u);
    EXPECT_EQ(none.Height, 0u);
    EXPECT_EQ(none.LineCount, 0);
}

TEST_F(SimCardTest, WritesAreLoggedWithTheirBytesAndReadOnlyRegistersStay) {
    Start("1920x1080p60");
    const uint8_t bytes[2] = {0xE8, 0x98};
    WriteChipRegisters(Handle(), 0x40, 0x16, 2, bytes);
    const uint8_t junk[2] = {0, 0};
    WriteChipRegisters(Handle(), 0x44, 0xB1, 2, junk);
    uint8_t back[2] = {};
    ReadChipRegisters(Handle(), 0x44, 0xB1, 2, back);
    EXPECT_EQ(Card().Log(),
              (Lines{"SET CHIP 0x40 0x16 2 0xE8 0x98", "SET CHIP 0x44 0xB1 2 0x00 0x00",
                     "GET CHIP 0x44 0xB1 2 -> 0x0D 0x42"}));
    EXPECT_EQ(Card().Chip().Program().PllDivRatio, 0x898);
}

TEST_F(SimCardTest, FaultsFailTheirRequests) {
    Start("1920x1080p60", "none", {"fpga-width", "chip-read", "status"});
    uint32_t value = 5;
    EXPECT_EQ(ReadFpgaRegister(Handle(), 0x4110, &value), 0);
    EXPECT_EQ(ReadFpgaRegister(Handle(), 0x4114, &value), 1);
    EXPECT_EQ(value, 1080u);
    uint8_t b = 0x11;
    EXPECT_EQ(ReadChipRegisters(Handle(), 0x44, 0x8D, 1, &b), 0);
    EXPECT_EQ(b, 0x11);
    EXPECT_EQ(WriteChipRegisters(Handle(), 0x44, 0x8D, 1, &b), 1);
    EXPECT_EQ(QueryInputStatus(Handle(), 2, &value), E_FAIL);
    EXPECT_EQ(Card().Log(), (Lines{"GET FPGA 0x4110 FAILED", "GET FPGA 0x4114 -> 0x00000438",
                                   "GET CHIP 0x44 0x8D 1 FAILED", "SET CHIP 0x44 0x8D 1 0x11",
                                   "GET STATUS 2 FAILED"}));

    Card().Faults().Clear();
    Card().Faults().Set(sim::Fault::FpgaHeight, true);
    Card().Faults().Set(sim::Fault::NoReload, true);
    EXPECT_EQ(ReadFpgaRegister(Handle(), 0x4110, &value), 1);
    EXPECT_EQ(ReadFpgaRegister(Handle(), 0x4114, &value), 0);
    EXPECT_FALSE(ReloadFormatTable(Handle(), 1));
    uint32_t support = 7;
    EXPECT_LT(Card().QuerySupported(DriverControlPropSet, kReloadTableProperty, &support), 0);
    EXPECT_EQ(support, 0u);
}

// Requests sent straight to the driver, as a faulty caller might build them.
TEST_F(SimCardTest, MalformedRequestsFail) {
    Start("1920x1080p60");
    auto chip = [&](bool write, uint32_t bus, uint32_t reg, uint32_t count, uint32_t tag,
                    uint32_t instanceSize = kChipRequestSize) {
        uint8_t instance[kChipRequestSize] = {};
        PutU32(instance + kChipBusOffset, bus);
        PutU32(instance + kChipRegisterOffset, reg);
        PutU32(instance + kChipOneOffset, 1);
        PutU32(instance + kChipCountOffset, count);
        PutU32(instance + kChipTagOffset, tag);
        uint8_t data[kChipDataSize] = {};
        uint32_t returned = 0;
        return write ? Card().Set(ChipAccessPropSet, 0, instance, instanceSize, data, sizeof data)
                     : Card().Get(ChipAccessPropSet, 0, instance, instanceSize, data, sizeof data,
                                  &returned);
    };
    EXPECT_EQ(chip(false, 0x44, 0xB1, 2, kDeviceHandleTag), S_OK);
    EXPECT_LT(chip(false, 0x44, 0xB1, 2, 0x12345678), 0);
    EXPECT_LT(chip(false, 0x48, 0x00, 1, kDeviceHandleTag), 0);
    EXPECT_LT(chip(false, 0x44, 0xFF, 2, kDeviceHandleTag), 0);
    EXPECT_LT(chip(true, 0x44, 0x00, 0, kDeviceHandleTag), 0);
    EXPECT_LT(chip(true, 0x44, 0x00, 300, kDeviceHandleTag), 0);
    EXPECT_LT(chip(false, 0x44, 0xB1, 2, kDeviceHandleTag, 100), 0);
    EXPECT_EQ(chip(false, 0x44, 0x00, 256, kDeviceHandleTag), S_OK);

    uint8_t fpga[8] = {};
    PutU32(fpga + 4, 0x4118);
    uint8_t answer[32] = {};
    uint32_t returned = 0;
    EXPECT_LT(Card().Get(FpgaRegisterPropSet, 1000, fpga, 8, answer, 32, &returned), 0);
    PutU32(fpga + 4, 0x4110);
    EXPECT_LT(Card().Get(FpgaRegisterPropSet, 1000, fpga, 8, answer, 16, &returned), 0);

    uint8_t status[8] = {};
    PutU32(status, 3);
    PutU32(status + 4, 7);
    EXPECT_LT(Card().Get(DriverControlPropSet, 1022, status, 8, answer, 4, &returned), 0);

    uint8_t reload[25] = {3};
    uint8_t selector = 3;
    EXPECT_LT(Card().Set(DriverControlPropSet, 1034, reload, 25, &selector, 1), 0);
    reload[0] = 1;  // the two copies of the selector disagree
    EXPECT_LT(Card().Set(DriverControlPropSet, 1034, reload, 25, &selector, 1), 0);
    EXPECT_LT(Card().Get(DriverControlPropSet, 1034, reload, 25, &selector, 1, &returned), 0);

    EXPECT_EQ(
        Card().Log(),
        (Lines{"GET CHIP 0x44 0xB1 2 -> 0x0D 0x42", "GET CHIP 0x44 0xB1 2 FAILED",
               "GET CHIP 0x48 0x00 1 FAILED", "GET CHIP 0x44 0xFF 2 FAILED",
               "SET CHIP 0x44 0x00 0 FAILED", "SET CHIP 0x44 0x00 300 FAILED", "GET CHIP FAILED",
               Card().Log()[7], "GET FPGA 0x4118 FAILED", "GET FPGA 0x4110 FAILED",
               "GET STATUS 3 FAILED", "SET RELOAD 3 FAILED", "SET RELOAD 1 FAILED",
               "GET {1BF3FF28-38E7-43A0-840F-CE944918E318} 1034 FAILED"}));
}

}  // namespace

// EDIDs built from the layouts: what they describe is listed in the editor's terms, a dump
// reads as its bytes, and a file that is short, broken or no EDID lists nothing and says why,
// without a read past its end.
#include <gtest/gtest.h>

#include <string>

#include "EdidBuilder.h"
#include "standards/Sources.h"

namespace standards {
namespace {

Timing Entry(const std::vector<TableEntry>& list, int code, bool videoRate = false) {
    for (const TableEntry& e : list)
        if (e.Code == code && e.VideoRate == videoRate)
            return e.Value;
    ADD_FAILURE() << "no entry " << code;
    return {};
}

std::vector<std::string> Labels(const EdidReading& r) {
    std::vector<std::string> labels;
    for (const EdidRow& row : r.Rows)
        labels.push_back(row.Label);
    return labels;
}

EdidBuilder Monitor() {
    EdidBuilder b;
    b.Detailed = {Entry(DmtTable(), 0x52), Entry(CtaTable(), 5)};  // 1080p60, 1080i60
    b.Standard = {0xD1, 0xC0, 0x81, 0x00};  // 1920x1080@60 16:9, 1280x800@60 16:10
    b.Established = 0x200800;               // 640x480@60, 1024x768@60
    b.Extensions.push_back({{16, 4}, {Entry(CtaTable(), 3, true)}});  // 480p59.94
    return b;
}

TEST(Edid, ListsEveryTimingItDescribesInTheEditorsTerms) {
    const EdidReading r = ReadEdid(Monitor().Build());
    ASSERT_TRUE(r.Ok) << r.Why;
    EXPECT_EQ(r.Blocks, 2);
    EXPECT_EQ(Labels(r),
              (std::vector<std::string>{"DTD 1", "DTD 2", "VIC 16", "VIC 16", "VIC 4", "VIC 4",
                                        "CTA DTD 1", "STD 1: DMT 0x52", "STD 2: DMT 0x1C",
                                        "EST: DMT 0x04", "EST: DMT 0x10"}));
    EXPECT_EQ(r.Rows[0].Value, Entry(DmtTable(), 0x52));
    // The field-by-field descriptor of 1080i, summed over both fields with its half lines.
    EXPECT_EQ(r.Rows[1].Value, Entry(CtaTable(), 5));
    EXPECT_EQ(r.Rows[1].Value.VFrontPorch, 5);
    EXPECT_EQ(r.Rows[1].Value.VTotal, 1125);
    EXPECT_EQ(r.Rows[3].Value, Entry(CtaTable(), 16, true));
    EXPECT_EQ(r.Rows[2].Aspect, "16:9");
    EXPECT_EQ(r.Rows[6].Value, Entry(CtaTable(), 3, true));
    EXPECT_TRUE(r.LeftOut.empty());
}

TEST(Edid, StandardTimingsGoThroughTheDmtCodesElseTheFormulaTheDisplayTakes) {
    EdidBuilder b;
    b.Detailed = {Entry(DmtTable(), 0x52)};
    // 1600x900@60 has only a reduced-blanking DMT entry, with the code; 1440x900@60 has both,
    // the code going to the other; 640x480@73 names DMT 0x05's rounded rate, not its code
    // (72); 1920x1080@75 is in no list.
    b.Standard = {0xA9, 0xC0, 0x95, 0x00, 0x31, 0x4D, 0xD1, 0xCF};
    EdidReading r = ReadEdid(b.Build());
    ASSERT_TRUE(r.Ok) << r.Why;
    EXPECT_EQ(Labels(r), (std::vector<std::string>{"DTD 1", "STD 1: DMT 0x53", "STD 2: DMT 0x2F",
                                                   "STD 3: GTF", "STD 4: GTF"}));
    EXPECT_EQ(r.Rows[4].Value, ComputeGtf({1920, 1080, 75.0, false}).Result);
    b.CvtRangeLimits = true;
    r = ReadEdid(b.Build());
    ASSERT_EQ(r.Rows.size(), 5u);
    EXPECT_EQ(r.Rows[4].Label, "STD 4: CVT");
    EXPECT_EQ(r.Rows[4].Value, ComputeCvt(Formula::Cvt, {1920, 1080, 75.0, false}).Result);
    // Before EDID 1.4 a display's CVT is not taken for them.
    b.Minor = 3;
    EXPECT_EQ(ReadEdid(b.Build()).Rows[4].Label, "STD 4: GTF");
}

TEST(Edid, TimingsOutsideTheListsOrWithoutRoomAreLeftOutAndSaid) {
    EdidBuilder b;
    Timing odd = Entry(DmtTable(), 0x52);
    odd.HSync = 300;  // past the 280 pixels of blanking
    b.Detailed = {Entry(DmtTable(), 0x52), odd};
    b.Established = 0x800000;  // 720x400@70, not a DMT timing
    b.Extensions.push_back({{0, 250}, {}});
    const EdidReading r = ReadEdid(b.Build());
    ASSERT_TRUE(r.Ok) << r.Why;
    EXPECT_EQ(Labels(r), (std::vector<std::string>{"DTD 1"}));
    EXPECT_EQ(r.LeftOut, (std::vector<std::string>{"DTD 2: its sync runs past its blanking",
                                                   "VIC 250: not in the CTA-861 list",
                                                   "EST 720x400p70: not in the DMT list"}));
}

TEST(Edid, HexDumpsReadAsTheirBytes) {
    const std::vector<uint8_t> edid = Monitor().Build();
    std::string spaced = "edid-decode (hex):\n\n";
    std::string xrandr = "HDMI-1 connected 1920x1080+0+0\n\tEDID: \n";
    for (size_t i = 0; i < edid.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", edid[i]);
        spaced += std::string(hex) + (i % 16 == 15 ? "\n" : " ");
        if (i % 128 == 127)
            spaced += "\n";  // as edid-decode puts a blank line after each block
        if (i % 16 == 0)
            xrandr += "\t\t";
        xrandr += hex;
        if (i % 16 == 15)
            xrandr += "\n";
    }
    spaced += "\n----------------\n\nBlock 0, Base EDID:\n";
    xrandr = "Screen 0: minimum 320 x 200\n\tCONNECTOR_ID: 95\n\t\t1 2\n" + xrandr +
             "\tBorderDimensions: 8\n";
    for (const std::string& text : {spaced, xrandr}) {
        std::vector<uint8_t> back;
        std::string why;
        ASSERT_TRUE(EdidBytes({text.begin(), text.end()}, back, why)) << why;
        EXPECT_EQ(back, edid) << text;
        EXPECT_EQ(ReadEdidFile({text.begin(), text.end()}).Rows.size(), 11u);
    }
}

TEST(Edid, ABrokenFileListsNothingAndSaysWhy) {
    const std::vector<uint8_t> good = Monitor().Build();
    const auto why = [](std::vector<uint8_t> bytes) {
        const EdidReading r = ReadEdidFile(bytes);
        EXPECT_FALSE(r.Ok);
        EXPECT_TRUE(r.Rows.empty());
        return r.Why;
    };
    EXPECT_EQ(why({}), "The file is empty.");
    EXPECT_EQ(why({good.begin(), good.begin() + 100}),
              "The file is too short: 100 bytes, where an EDID block has 128.");
    EXPECT_EQ(why({good.begin(), good.begin() + 128}),
              "The file is too short: the EDID has 1 extension blocks, the file holds 0.");
    std::vector<uint8_t> bad = good;
    bad[0x40] ^= 1;
    EXPECT_EQ(why(bad), "The base block has a bad checksum.");
    bad = good;
    bad[200] ^= 1;
    EXPECT_EQ(why(bad), "Block 1 has a bad checksum.");
    bad = good;
    bad[1] = 0x00;
    SealBlocks(bad);
    EXPECT_EQ(why(bad),
              "The file is no EDID: it does not begin with the EDID header "
              "00 FF FF FF FF FF FF 00.");
    const std::string text = "hello\nworld\n";
    EXPECT_EQ(why({text.begin(), text.end()}),
              "The file is no EDID: neither the EDID's bytes nor a hex dump of them.");
    const std::string oddDump = "00ffffffffffff0";
    EXPECT_EQ(why({oddDump.begin(), oddDump.end()}),
              "The hex dump has an odd number of digits: a byte is cut in half.");
    // A CTA-861 block whose offsets point beyond it.
    bad = good;
    bad[128 + 2] = 200;
    SealBlocks(bad);
    EXPECT_EQ(why(bad), "Block 1 (CTA-861) points its descriptors outside the block (byte 200).");
    bad = good;
    bad[128 + 4] = 0x5F;  // a data block of 31 bytes where 4 remain
    SealBlocks(bad);
    EXPECT_EQ(why(bad), "Block 1 (CTA-861) has a data block that runs past its end (byte 4).");
}

TEST(Edid, AnyBlockCountAndAbsurdFieldsStayInsideTheBytes) {
    // The block count byte at its largest, with every extension block there but filled with
    // descriptors that run to the last byte: read, never past the end.
    std::vector<uint8_t> edid = Monitor().Build();
    edid.resize(128);
    edid[0x7E] = 255;
    for (int b = 0; b < 255; ++b) {
        std::vector<uint8_t> block(128, 0xFF);
        block[0] = 0x02;
        block[2] = 4;
        edid.insert(edid.end(), block.begin(), block.end());
    }
    SealBlocks(edid);
    const EdidReading r = ReadEdid(edid);
    EXPECT_TRUE(r.Ok) << r.Why;
    EXPECT_EQ(r.Blocks, 256);
    for (const EdidRow& row : r.Rows) {
        EXPECT_LE(row.Value.HTotal, 65535);
        EXPECT_GT(row.Value.PixelClockKHz, 0.0);
    }
}

}  // namespace
}  // namespace standards

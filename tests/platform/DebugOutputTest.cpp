#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace {

class DebugOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetDebugSink([this](std::string_view text) { m_calls.emplace_back(text); });
    }
    void TearDown() override { platform::SetDebugSink({}); }

    std::vector<std::string> m_calls;
};

TEST_F(DebugOutput, TextGoesOutAsItIsWithoutALineEnd) {
    platform::OutputDebugStringA("Edit number is 3");
    platform::OutputDebugStringA("ValueLow = 0x1F\r\n");
    platform::OutputDebugStringA(nullptr);
    EXPECT_EQ(m_calls, (std::vector<std::string>{"Edit number is 3", "ValueLow = 0x1F\r\n", ""}));
}

TEST_F(DebugOutput, TraceOutWritesTheLineEndSeparately) {
    platform::TraceOut("NumofFileFormat: %d", 42);
    EXPECT_EQ(m_calls, (std::vector<std::string>{"NumofFileFormat: 42", "\n"}));
}

TEST_F(DebugOutput, TraceOutCutsLongTextAt4095Characters) {
    const std::string exact(4095, 'a');
    platform::TraceOut("%s", exact.c_str());
    const std::string longer = std::string(4095, 'b') + "tail";
    platform::TraceOut("%s", longer.c_str());
    ASSERT_EQ(m_calls.size(), 4u);
    EXPECT_EQ(m_calls[0], exact);
    EXPECT_EQ(m_calls[2], std::string(4095, 'b'));
    EXPECT_EQ(m_calls[3], "\n");
}

}  // namespace

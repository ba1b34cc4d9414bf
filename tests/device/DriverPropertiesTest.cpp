// The five driver operations, byte for byte as the driver receives them, and how they fail.
#include <gtest/gtest.h>

#include <vector>

#include "device/DriverProperties.h"
#include "device/DriverProtocol.h"
#include "sim/SimCard.h"

namespace {

using namespace device;
using Bytes = std::vector<uint8_t>;

struct Call {
    std::string Kind;  // "Get" or "Set"
    GUID Set;
    uint32_t Id;
    Bytes Instance;
    Bytes Data;
};

// Records every request with its buffers and answers as told.
class CRecordingPropertySet final : public CComObject<IKsPropertySet> {
  public:
    uint32_t Support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
    HRESULT SupportResult = S_OK;
    HRESULT Result = S_OK;
    Bytes Answer;  // written into a Get's data buffer from offset 0
    std::vector<Call> Calls;
    std::vector<std::pair<GUID, uint32_t>> Queries;

    HRESULT Set(const GUID& set, uint32_t id, void* instance, uint32_t instanceSize, void* data,
                uint32_t dataSize) override {
        Calls.push_back({"Set", set, id, Copy(instance, instanceSize), Copy(data, dataSize)});
        return Result;
    }
    HRESULT Get(const GUID& set, uint32_t id, void* instance, uint32_t instanceSize, void* data,
                uint32_t dataSize, uint32_t* returned) override {
        Calls.push_back({"Get", set, id, Copy(instance, instanceSize), Copy(data, dataSize)});
        if (Succeeded(Result)) {
            std::copy(Answer.begin(), Answer.begin() + std::min<size_t>(Answer.size(), dataSize),
                      static_cast<uint8_t*>(data));
        }
        *returned = dataSize;
        return Result;
    }
    HRESULT QuerySupported(const GUID& set, uint32_t id, uint32_t* support) override {
        Queries.emplace_back(set, id);
        EXPECT_EQ(*support, 0u);
        *support = Support;
        return SupportResult;
    }

  private:
    static Bytes Copy(const void* p, uint32_t size) {
        const auto* b = static_cast<const uint8_t*>(p);
        return Bytes(b, b + size);
    }
};

Bytes U32(uint32_t v) {
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

Bytes Zeros(size_t n) {
    return Bytes(n, 0);
}

Bytes ChipRequest(Bytes dataArea, uint32_t bus, uint32_t reg, uint32_t count) {
    dataArea.resize(256, 0);
    return Cat(
        {dataArea, U32(bus), U32(reg), U32(1), U32(count), U32(0), U32(0x4B4F4C54), Zeros(8)});
}

class DriverPropertiesTest : public ::testing::Test {
  protected:
    ~DriverPropertiesTest() override { m_props->Release(); }

    CRecordingPropertySet* m_props = new CRecordingPropertySet();
    DeviceHandle m_handle{m_props, kDeviceHandleTag};
};

TEST_F(DriverPropertiesTest, ReadFpgaRegisterSendsAddressAndTakesTheWordAt24) {
    m_props->Answer = Cat({Zeros(24), U32(0x780)});
    uint32_t value = 0;
    EXPECT_EQ(ReadFpgaRegister(&m_handle, 0x4110, &value), 1);
    EXPECT_EQ(value, 0x780u);

    ASSERT_EQ(m_props->Queries.size(), 1u);
    EXPECT_EQ(m_props->Queries[0].first, FpgaRegisterPropSet);
    EXPECT_EQ(m_props->Queries[0].second, 1000u);
    ASSERT_EQ(m_props->Calls.size(), 1u);
    const Call& call = m_props->Calls[0];
    EXPECT_EQ(call.Kind, "Get");
    EXPECT_EQ(call.Set, FpgaRegisterPropSet);
    EXPECT_EQ(call.Id, 1000u);
    EXPECT_EQ(call.Instance, Cat({U32(0), U32(0x4110)}));
    EXPECT_EQ(call.Data, Cat({Zeros(24), U32(0), U32(0x4110)}));
}

TEST_F(DriverPropertiesTest, ReadChipRegistersSendsTheChipRequestAndCopiesCountBytes) {
    m_props->Answer = Cat({Zeros(24), {0xCD, 0x42, 0x77}});
    uint8_t bytes[3] = {0xAA, 0xAA, 0xAA};
    EXPECT_EQ(ReadChipRegisters(&m_handle, 0x44, 0xB1, 2, bytes), 1);
    EXPECT_EQ(Bytes(bytes, bytes + 3), (Bytes{0xCD, 0x42, 0xAA}));

    const Call& call = m_props->Calls.at(0);
    EXPECT_EQ(call.Kind, "Get");
    EXPECT_EQ(call.Set, ChipAccessPropSet);
    EXPECT_EQ(call.Id, 0u);
    const Bytes request = ChipRequest({}, 0x44, 0xB1, 2);
    EXPECT_EQ(call.Instance, request);
    EXPECT_EQ(call.Data, Cat({Zeros(24), request}));
}

TEST_F(DriverPropertiesTest, WriteChipRegistersPutsTheBytesAtTheStartOfTheDataArea) {
    const uint8_t bytes[2] = {0xE8, 0x98};
    EXPECT_EQ(WriteChipRegisters(&m_handle, 0x40, 0x16, 2, bytes), 1);
    const Call& call = m_props->Calls.at(0);
    EXPECT_EQ(call.Kind, "Set");
    EXPECT_EQ(call.Set, ChipAccessPropSet);
    const Bytes request = ChipRequest({0xE8, 0x98}, 0x40, 0x16, 2);
    EXPECT_EQ(call.Instance, request);
    EXPECT_EQ(call.Data, Cat({Zeros(24), request}));
}

TEST_F(DriverPropertiesTest, QueryInputStatusSendsTheCallersWordAndTakesTheAnswer) {
    m_props->Answer = U32(5);
    uint32_t status = 0x12345678;
    EXPECT_EQ(QueryInputStatus(&m_handle, 2, &status), S_OK);
    EXPECT_EQ(status, 5u);
    const Call& call = m_props->Calls.at(0);
    EXPECT_EQ(call.Set, DriverControlPropSet);
    EXPECT_EQ(call.Id, 1022u);
    EXPECT_EQ(call.Instance, Cat({U32(2), U32(7)}));
    EXPECT_EQ(call.Data, U32(0x12345678));
}

TEST_F(DriverPropertiesTest, ReloadFormatTableSendsTheSelectorTwice) {
    EXPECT_TRUE(ReloadFormatTable(&m_handle, 2));
    const Call& call = m_props->Calls.at(0);
    EXPECT_EQ(call.Kind, "Set");
    EXPECT_EQ(call.Set, DriverControlPropSet);
    EXPECT_EQ(call.Id, 1034u);
    EXPECT_EQ(call.Instance, Cat({{2}, Zeros(24)}));
    EXPECT_EQ(call.Data, Bytes{2});
}

TEST_F(DriverPropertiesTest, AFailedRequestLeavesTheCallersValuesAlone) {
    m_props->Answer = Bytes(312, 0xEE);
    m_props->Result = E_FAIL;
    uint32_t value = 7;
    uint8_t bytes[2] = {1, 2};
    uint32_t status = 9;
    EXPECT_EQ(ReadFpgaRegister(&m_handle, 0x4114, &value), 0);
    EXPECT_EQ(ReadChipRegisters(&m_handle, 0x44, 0xB1, 2, bytes), 0);
    EXPECT_EQ(WriteChipRegisters(&m_handle, 0x44, 0x8D, 1, bytes), 0);
    EXPECT_EQ(QueryInputStatus(&m_handle, 1, &status), E_FAIL);
    EXPECT_FALSE(ReloadFormatTable(&m_handle, 1));
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 2);
    EXPECT_EQ(status, 9u);
    EXPECT_EQ(m_props->Calls.size(), 5u);
}

TEST_F(DriverPropertiesTest, TheSupportWordDecidesNotTheQueryResult) {
    // A driver that answers the query with an error but says "get" is still asked.
    m_props->SupportResult = E_FAIL;
    m_props->Support = KSPROPERTY_SUPPORT_GET;
    uint32_t value = 0;
    EXPECT_EQ(ReadFpgaRegister(&m_handle, 0x4110, &value), 1);
    // Without the set bit no Set is sent.
    const uint8_t byte = 0;
    EXPECT_EQ(WriteChipRegisters(&m_handle, 0x44, 0x8D, 1, &byte), 0);
    EXPECT_FALSE(ReloadFormatTable(&m_handle, 1));
    EXPECT_EQ(m_props->Calls.size(), 1u);

    m_props->Support = 0;
    EXPECT_EQ(ReadFpgaRegister(&m_handle, 0x4110, &value), 0);
    EXPECT_EQ(m_props->Calls.size(), 1u);
}

TEST_F(DriverPropertiesTest, ByteCountsOutsideTheDataAreaFailWithoutARequest) {
    uint8_t big[300] = {};
    EXPECT_EQ(ReadChipRegisters(&m_handle, 0x44, 0x00, 0, big), 0);
    EXPECT_EQ(ReadChipRegisters(&m_handle, 0x44, 0x00, 257, big), 0);
    EXPECT_EQ(WriteChipRegisters(&m_handle, 0x44, 0x00, 257, big), 0);
    EXPECT_TRUE(m_props->Calls.empty());
    EXPECT_EQ(ReadChipRegisters(&m_handle, 0x44, 0x00, 256, big), 1);
}

TEST_F(DriverPropertiesTest, NoPropertyInterfaceFailsEverything) {
    const DeviceHandle empty{nullptr, kDeviceHandleTag};
    uint32_t value = 0;
    uint8_t byte = 0;
    for (const DeviceHandle* handle : {&empty, static_cast<const DeviceHandle*>(nullptr)}) {
        EXPECT_EQ(ReadFpgaRegister(handle, 0x4110, &value), 0);
        EXPECT_EQ(ReadChipRegisters(handle, 0x44, 0xB1, 1, &byte), 0);
        EXPECT_EQ(WriteChipRegisters(handle, 0x44, 0xB1, 1, &byte), 0);
        EXPECT_EQ(QueryInputStatus(handle, 1, &value), E_FAIL);
        EXPECT_FALSE(ReloadFormatTable(handle, 1));
    }
}

// The same operations against the simulated driver, handed straight to it.
class CCardPropertySet final : public CComObject<IKsPropertySet> {
  public:
    sim::CSimCard Card;
    HRESULT Set(const GUID& s, uint32_t id, void* i, uint32_t is, void* d, uint32_t ds) override {
        return Card.Set(s, id, i, is, d, ds);
    }
    HRESULT Get(const GUID& s, uint32_t id, void* i, uint32_t is, void* d, uint32_t ds,
                uint32_t* r) override {
        return Card.Get(s, id, i, is, d, ds, r);
    }
    HRESULT QuerySupported(const GUID& s, uint32_t id, uint32_t* support) override {
        return Card.QuerySupported(s, id, support);
    }
};

TEST(DriverPropertiesOnTheCard, AGetOnlyDriverReadsButNeitherWritesNorReloads) {
    auto* props = new CCardPropertySet();
    DeviceHandle handle{props, kDeviceHandleTag};
    props->Card.Faults().Set(sim::Fault::GetOnly, true);
    uint8_t bytes[2] = {};
    EXPECT_EQ(ReadChipRegisters(&handle, 0x44, 0x8F, 2, bytes), 1);
    EXPECT_EQ(WriteChipRegisters(&handle, 0x44, 0x8F, 2, bytes), 0);
    EXPECT_FALSE(ReloadFormatTable(&handle, 0));
    uint32_t value = 0;
    EXPECT_EQ(ReadFpgaRegister(&handle, 0x4110, &value), 1);
    EXPECT_EQ(props->Card.Log(), (std::vector<std::string>{"GET CHIP 0x44 0x8F 2 -> 0x07 0x1C",
                                                           "GET FPGA 0x4110 -> 0x00000000"}));
    props->Release();
}

TEST(DriverPropertiesOnTheCard, AnInputWithoutSignalIsASuccessWithStatusZero) {
    auto* props = new CCardPropertySet();
    DeviceHandle handle{props, kDeviceHandleTag};
    uint32_t status = 0xFFFFFFFF;
    EXPECT_EQ(QueryInputStatus(&handle, kInputVga, &status), S_OK);
    EXPECT_EQ(status, 0u);
    props->Release();
}

}  // namespace

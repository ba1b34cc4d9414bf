// Finding the capture devices and binding one by its friendly name, through CVideoDevice over the
// simulated machine's devices.
#include <gtest/gtest.h>

#include "device/DriverProperties.h"
#include "device/DriverProtocol.h"
#include "device/VideoDevice.h"
#include "platform/Platform.h"
#include "sim/SimBackend.h"

namespace {

using namespace device;
using sim::CSimBackend;
using sim::Fault;

class VideoDeviceTest : public ::testing::Test {
  protected:
    void TearDown() override { platform::SetAnsiCodePage(platform::CodePage::Utf8); }

    sim::CSimCard& Add(const std::u16string& name) { return m_backend.AddDevice(name).Card; }

    // Locks as the main window does: bind by the name, then make the handle.
    std::unique_ptr<DeviceHandle> Lock(CVideoDevice& device, const std::u16string& name) {
        m_lastBind = device.BindByFriendlyName(name.c_str());
        return device.CreateDeviceHandle(kDeviceHandleTag);
    }

    CSimBackend m_backend;
    HRESULT m_lastBind = S_OK;
};

TEST_F(VideoDeviceTest, NoDeviceInstalledGivesAnEmptyListAndNothingBinds) {
    CVideoDevice device(m_backend);
    EXPECT_TRUE(device.DeviceList().empty());
    EXPECT_EQ(Lock(device, u"Zeriveve HD Capture"), nullptr);
    EXPECT_EQ(m_lastBind, E_FAIL);
}

TEST_F(VideoDeviceTest, ListsNamesInEnumerationOrderAndLocksTheChosenOne) {
    Add(u"Zeriveve HD Capture");
    sim::CSimCard& analog = Add(u"Zeriveve Analog Capture");
    CVideoDevice device(m_backend);
    EXPECT_EQ(device.DeviceList(),
              (std::vector<std::string>{"Zeriveve HD Capture", "Zeriveve Analog Capture"}));

    auto handle = Lock(device, u"Zeriveve Analog Capture");
    EXPECT_EQ(m_lastBind, S_OK);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->Tag, kDeviceHandleTag);
    uint32_t status = 0;
    EXPECT_EQ(QueryInputStatus(handle.get(), kInputHdmi, &status), S_OK);
    EXPECT_EQ(analog.Log(), (std::vector<std::string>{"GET STATUS 2 -> 0"}));
}

TEST_F(VideoDeviceTest, TwoDevicesWithTheSameNameBindTheFirstEnumerated) {
    sim::CSimCard& first = Add(u"Capture");
    sim::CSimCard& second = Add(u"Capture");
    CVideoDevice device(m_backend);
    EXPECT_EQ(device.DeviceList(), (std::vector<std::string>{"Capture", "Capture"}));

    auto handle = Lock(device, u"Capture");
    ASSERT_NE(handle, nullptr);
    ReloadFormatTable(handle.get(), 2);
    EXPECT_EQ(first.Log().size(), 1u);
    EXPECT_TRUE(second.Log().empty());
}

TEST_F(VideoDeviceTest, NamesCompareExactly) {
    Add(u"Zeriveve HD Capture");
    CVideoDevice device(m_backend);
    for (const std::u16string name :
         {u"zeriveve hd capture", u"Zeriveve HD Capture ", u"Zeriveve HD", u""}) {
        EXPECT_EQ(device.BindByFriendlyName(name.c_str()), E_FAIL);
        EXPECT_FALSE(device.IsBound());
    }
    EXPECT_EQ(device.BindByFriendlyName(nullptr), E_POINTER);
}

TEST_F(VideoDeviceTest, ANameTheCodePageCannotHoldDoesNotSurviveTheRoundTrip) {
    platform::SetAnsiCodePage(platform::CodePage::Windows1252);
    Add(u"影像擷取卡");
    CVideoDevice device(m_backend);
    ASSERT_EQ(device.DeviceList().size(), 1u);
    EXPECT_EQ(device.DeviceList()[0], "?????");

    // The main window binds with the box's text converted back to UTF-16.
    const std::u16string boxText = platform::AnsiToWide(device.DeviceList()[0]);
    EXPECT_EQ(Lock(device, boxText), nullptr);
    EXPECT_EQ(m_lastBind, E_FAIL);
}

TEST_F(VideoDeviceTest, ADeviceRemovedAfterStartUpCannotBeLocked) {
    Add(u"Zeriveve HD Capture").Faults().Set(Fault::Removed, true);
    CVideoDevice device(m_backend);
    EXPECT_EQ(device.DeviceList(), (std::vector<std::string>{"Zeriveve HD Capture"}));
    EXPECT_EQ(Lock(device, u"Zeriveve HD Capture"), nullptr);
    EXPECT_EQ(m_lastBind, E_FAIL);
    // After an Unlock the new enumeration no longer lists it.
    EXPECT_TRUE(CVideoDevice(m_backend).DeviceList().empty());
}

TEST_F(VideoDeviceTest, AMatchWhoseFilterCannotBeBoundBindsButGivesNoHandle) {
    Add(u"Zeriveve HD Capture").Faults().Set(Fault::Bind, true);
    CVideoDevice device(m_backend);
    EXPECT_EQ(Lock(device, u"Zeriveve HD Capture"), nullptr);
    EXPECT_EQ(m_lastBind, S_OK);
    EXPECT_FALSE(device.IsBound());
}

TEST_F(VideoDeviceTest, AFilterWithoutPropertySetGivesNoHandle) {
    Add(u"Zeriveve HD Capture").Faults().Set(Fault::NoPropertySet, true);
    CVideoDevice device(m_backend);
    EXPECT_EQ(Lock(device, u"Zeriveve HD Capture"), nullptr);
    EXPECT_EQ(m_lastBind, S_OK);
    EXPECT_TRUE(device.IsBound());
}

TEST_F(VideoDeviceTest, PropertyBagAndNameFailuresShapeTheList) {
    Add(u"No Bag").Faults().Set(Fault::PropertyBag, true);
    Add(u"No Name").Faults().Set(Fault::FriendlyName, true);
    Add(u"Fine");
    CVideoDevice device(m_backend);
    EXPECT_EQ(device.DeviceList(), (std::vector<std::string>{"", "Fine"}));
    // Neither can be bound by name: the nameless one has no name to match.
    EXPECT_EQ(device.BindByFriendlyName(u"No Bag"), E_FAIL);
    EXPECT_EQ(device.BindByFriendlyName(u"No Name"), E_FAIL);
    EXPECT_EQ(device.BindByFriendlyName(u""), E_FAIL);
}

TEST_F(VideoDeviceTest, BindingAgainUnbindsFirstEvenWhenNothingMatches) {
    Add(u"Zeriveve HD Capture");
    CVideoDevice device(m_backend);
    ASSERT_NE(Lock(device, u"Zeriveve HD Capture"), nullptr);
    EXPECT_TRUE(device.IsBound());

    EXPECT_EQ(device.BindByFriendlyName(u"Something Else"), E_FAIL);
    EXPECT_FALSE(device.IsBound());
    EXPECT_EQ(device.CreateDeviceHandle(kDeviceHandleTag), nullptr);
}

TEST_F(VideoDeviceTest, LongNamesAreCutAtACharacterBoundary) {
    const std::u16string ascii126(126, u'a');
    // 126 + the two bytes of "é" would be 128: the "é" goes whole.
    EXPECT_EQ(ToDeviceListName(ascii126 + u"é"), std::string(126, 'a'));
    EXPECT_EQ(ToDeviceListName(ascii126 + u"b"), std::string(126, 'a') + "b");
    EXPECT_EQ(ToDeviceListName(ascii126 + u"bc"), std::string(126, 'a') + "b");
    // A character outside the basic plane (a surrogate pair, four UTF-8 bytes) is not split.
    EXPECT_EQ(ToDeviceListName(std::u16string(124, u'a') + u"😀x"), std::string(124, 'a'));

    platform::SetAnsiCodePage(platform::CodePage::Big5);
    const std::u16string chinese(64, u'中');  // two bytes each in Big5
    const std::string cut = ToDeviceListName(chinese);
    EXPECT_EQ(cut.size(), 126u);
    EXPECT_EQ(platform::AnsiToWide(cut), std::u16string(63, u'中'));

    Add(chinese);
    CVideoDevice device(m_backend);
    EXPECT_EQ(device.DeviceList(), (std::vector<std::string>{cut}));
}

// A backend of one device whose filter counts its references, to see who holds what.
class CCountingFilter final : public CComObject<IBaseFilter, IKsPropertySet> {
  public:
    HRESULT Set(const GUID&, uint32_t, void*, uint32_t, void*, uint32_t) override { return S_OK; }
    HRESULT Get(const GUID&, uint32_t, void*, uint32_t, void*, uint32_t, uint32_t*) override {
        return S_OK;
    }
    HRESULT QuerySupported(const GUID&, uint32_t, uint32_t*) override { return S_OK; }
    static inline int s_alive = 0;
    CCountingFilter() { ++s_alive; }
    ~CCountingFilter() override { --s_alive; }
};

class CSingleDeviceBackend final
    : public IDeviceBackend,
      CComObject<ICreateDevEnum, IEnumMoniker, IMoniker, IPropertyBag> {
  public:
    // Lives on the stack: its first reference is the stack's own, so Release never deletes it.
    CCountingFilter* LastFilter = nullptr;

    HRESULT CreateSystemDeviceEnum(ICreateDevEnum** out) override {
        AddRef();
        *out = this;
        return S_OK;
    }
    HRESULT CreateClassEnumerator(const GUID&, IEnumMoniker** out, uint32_t) override {
        AddRef();
        *out = this;
        return S_OK;
    }
    HRESULT Reset() override {
        m_given = false;
        return S_OK;
    }
    HRESULT Next(IMoniker** out) override {
        if (m_given) {
            *out = nullptr;
            return S_FALSE;
        }
        m_given = true;
        AddRef();
        *out = this;
        return S_OK;
    }
    HRESULT BindToStorage(IPropertyBag** out) override {
        AddRef();
        *out = this;
        return S_OK;
    }
    HRESULT BindToObject(IBaseFilter** out) override {
        LastFilter = new CCountingFilter();
        *out = LastFilter;
        return S_OK;
    }
    HRESULT Read(const char16_t*, std::u16string& value) override {
        value = u"Counted";
        return S_OK;
    }
    uint32_t Refs() const { return RefCount(); }

  private:
    bool m_given = false;
};

TEST(VideoDeviceReferences, TheHandleBorrowsAndTheDeviceReleasesTheFilter) {
    CSingleDeviceBackend backend;
    {
        CVideoDevice device(backend);
        EXPECT_EQ(backend.Refs(), 1u);  // every enumeration object was released
        ASSERT_EQ(device.BindByFriendlyName(u"Counted"), S_OK);
        EXPECT_EQ(backend.LastFilter->RefCount(), 1u);
        auto handle = device.CreateDeviceHandle(kDeviceHandleTag);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(backend.LastFilter->RefCount(), 1u);
        EXPECT_EQ(handle->PropertySet, static_cast<IKsPropertySet*>(backend.LastFilter));
        handle.reset();
        EXPECT_EQ(CCountingFilter::s_alive, 1);

        // Binding again lets the old filter go before the new one is bound.
        ASSERT_EQ(device.BindByFriendlyName(u"Counted"), S_OK);
        EXPECT_EQ(CCountingFilter::s_alive, 1);
    }
    EXPECT_EQ(CCountingFilter::s_alive, 0);
    EXPECT_EQ(backend.Refs(), 1u);
}

}  // namespace

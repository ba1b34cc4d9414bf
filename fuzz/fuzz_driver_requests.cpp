// The simulated driver's request parsing over arbitrary buffers: any property set, id, instance
// and data buffer of any size, as a careless caller could send them. The driver must answer
// without reading or writing outside the buffers it was given.
#include <memory>
#include <vector>

#include "device/DriverProtocol.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Platform.h"
#include "sim/SimCard.h"

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    uint32_t Take(size_t bytes) {
        uint32_t value = 0;
        for (size_t i = 0; i < bytes && size > 0; ++i, ++data, --size)
            value |= uint32_t{*data} << (8 * i);
        return value;
    }
    // A buffer of exactly the length asked for, on the heap, so any overrun is seen.
    std::unique_ptr<uint8_t[]> Buffer(size_t length) {
        auto buffer = std::make_unique<uint8_t[]>(length == 0 ? 1 : length);
        for (size_t i = 0; i < length; ++i)
            buffer[i] = static_cast<uint8_t>(Take(1));
        return buffer;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A card of its own for each input: the driver's request log grows with every request.
    sim::CSimCard card;
    static const bool quiet = [] {
        platform::SetDebugSink([](std::string_view) {});
        platform::SetSystemRoot(fuzz::ScratchFolder());
        return true;
    }();
    (void)quiet;
    Reader in{data, size};
    while (in.size > 0) {
        const uint32_t choice = in.Take(1);
        device::GUID set = choice % 4 == 0   ? device::FpgaRegisterPropSet
                           : choice % 4 == 1 ? device::ChipAccessPropSet
                           : choice % 4 == 2 ? device::DriverControlPropSet
                                             : device::GUID{};
        const uint32_t id = (choice & 0x10)   ? in.Take(4)
                            : (choice & 0x20) ? 1000
                            : (choice & 0x40) ? 1022
                                              : 1034;
        const uint32_t id2 = (choice & 0x30) == 0x30 ? 0 : id;
        const size_t instanceSize = in.Take(1) % 64;
        const size_t dataSize = in.Take(2) % 400;
        const bool null = (choice & 0x80) != 0 && instanceSize == 0;
        auto instance = in.Buffer(instanceSize);
        auto buffer = in.Buffer(dataSize);
        uint32_t returned = 0xFFFFFFFF;
        uint32_t support = 0;
        switch (in.Take(1) % 3) {
            case 0:
                card.Get(set, id2, null ? nullptr : instance.get(),
                         static_cast<uint32_t>(instanceSize), buffer.get(),
                         static_cast<uint32_t>(dataSize), &returned);
                FUZZ_CHECK(returned == 0xFFFFFFFF || returned <= dataSize);
                break;
            case 1:
                card.Set(set, id2, null ? nullptr : instance.get(),
                         static_cast<uint32_t>(instanceSize), buffer.get(),
                         static_cast<uint32_t>(dataSize));
                break;
            default:
                card.QuerySupported(set, id2, &support);
                break;
        }
    }
    return 0;
}

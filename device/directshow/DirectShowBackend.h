// The device backend of a real Windows machine: the system device enumerator of DirectShow and
// the objects reached from it, each wrapped one to one in the device link's interfaces.
#pragma once

#include "device/DeviceBackend.h"

namespace device {

// COM must be initialised on the calling thread before the first call (the program does it
// once at start); the backend itself keeps nothing between calls.
class CDirectShowBackend final : public IDeviceBackend {
  public:
    HRESULT CreateSystemDeviceEnum(ICreateDevEnum** deviceEnum) override;
};

}  // namespace device

// The messages of the main window, in a file of their own so that a program without the window
// (the device command) says the same sentences for the same refusals.
#pragma once

#include "device/DriverProperties.h"

namespace app {

extern const char* const kMsgDeviceError;
extern const char* const kMsgNoFormatFile;
extern const char* const kMsgPleaseLock;
using device::kMsgReloadFail;
extern const char* const kMsgNoUserFormat;
extern const char* const kMsgSelectOne;
extern const char* const kMsgNoImportFile;
extern const char* const kMsgWriteFailed;
extern const char* const kMsgExportFailed;
extern const char* const kMsgTableFull;
extern const char* const kMsgImportTooMany;
extern const char* const kMsgTableChangedElsewhere;

}  // namespace app

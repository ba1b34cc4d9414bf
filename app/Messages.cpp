#include "app/Messages.h"

namespace app {

const char* const kMsgDeviceError =
    "Device initized error! Please check the device is available or not!";
const char* const kMsgNoFormatFile = "Can not detect the format file!!";
const char* const kMsgPleaseLock = "Please Lock the device!";
const char* const kMsgNoUserFormat = "No user format in user list!";
const char* const kMsgSelectOne = "Need to selete one format in user table!";
const char* const kMsgNoImportFile = "Can not detect the import file!!";
const char* const kMsgWriteFailed = "Can not write the format file!!";
const char* const kMsgExportFailed = "Can not write the export file!!";
const char* const kMsgTableFull =
    "The format table is full (256 formats)! Delete a user format first.";
const char* const kMsgImportTooMany =
    "Can not import: the format table can not hold more than 256 formats!!";
// A question: Yes writes this window's table, No keeps the other program's.
const char* const kMsgTableChangedElsewhere =
    "Another program has changed the format file since Lock! Yes: replace it with the table of "
    "this window. No: keep the other program's table (Unlock and Lock to see it).";

}  // namespace app

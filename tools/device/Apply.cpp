// `apply DEVICE TABLE`: the table file in place of the driver's "format.bin", written and
// reloaded as Apply does, and nothing at all when it is in place already, so that the command
// may run again and again and say truthfully whether it changed anything.
#include <memory>
#include <new>

#include "app/Messages.h"
#include "device/DriverProperties.h"
#include "device/DriverProtocol.h"
#include "platform/Platform.h"
#include "tools/device/Binding.h"
#include "tools/device/Commands.h"
#include "tools/device/TableFiles.h"

namespace devicetool {
namespace {

// The installed file as it lies on disk; a larger file than a full table cannot equal one.
bool ReadInstalled(const std::string& windowsPath, std::vector<uint8_t>& bytes) {
    constexpr size_t kLargest = 2 + fmt::kMaxRecords * fmt::kRecordSize;
    const std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kLargest]);
    size_t size = 0;
    if (!buffer ||
        !platform::ReadFileInto(platform::HostPath(windowsPath), buffer.get(), kLargest, size)) {
        return false;
    }
    bytes.assign(buffer.get(), buffer.get() + size);
    return true;
}

// Selector 1, as Apply asks; false with the message when the driver did not take it.
bool Reload(Context& c, const std::string& name, const device::DeviceHandle* handle,
            const char* state) {
    const bool reloaded = device::ReloadFormatTable(handle, device::kReloadFormatFile);
    c.Report.Doc()["reloaded"] = reloaded;
    if (!reloaded)
        c.Report.Error(name + ": " + app::kMsgReloadFail + " (" + state + ")");
    return reloaded;
}

}  // namespace

int ApplyTable(Context& c, const std::string& name, const std::string& tablePath) {
    Json& doc = c.Report.Doc();
    doc["device"] = name;
    doc["table"] = tablePath;
    doc["changed"] = false;
    doc["written"] = false;
    doc["reloaded"] = false;

    // A table the driver would refuse is never put in its place.
    fmt::FormatTable table;
    std::string why;
    if (!LoadTable(tablePath, table, why)) {
        c.Report.Error(tablePath + ": " + why);
        return kUsage;
    }
    const std::vector<uint8_t> wanted = TableBytes(table);

    int code = kDone;
    device::IDeviceBackend* backend = OpenMachine(c, code);
    if (backend == nullptr)
        return code;
    // The device is bound first, also when nothing is to change: a rollout must hear of a
    // machine whose card is gone.
    CBoundDevice bound;
    if (!bound.Bind(*backend, name)) {
        c.Report.Error(name + ": " + app::kMsgDeviceError);
        return kProblem;
    }

    // Where Lock finds the table; Apply writes it back there.
    table.TableDirectory = fmt::SystemTableDirectory();
    const std::string target = table.TableDirectory + "\\format.bin";
    doc["target"] = target;
    doc["targetFile"] = platform::HostPath(target);
    std::vector<uint8_t> installed;
    const bool readable = ReadInstalled(target, installed);
    if (readable && installed == wanted) {
        doc["installed"] = "same";
        if (c.Opts.AlwaysReload) {
            if (!Reload(c, name, bound.Handle(), "nothing was written"))
                return kProblem;
            c.Report.Line(name + ": format.bin unchanged, the driver reloaded it");
        } else {
            c.Report.Line(name + ": format.bin unchanged");
        }
        return kDone;
    }
    doc["installed"] = readable ? "different" : "unreadable";

    if (table.WriteFormatFile(table.TableDirectory, "format.bin", true) != fmt::kOk) {
        // The driver is not asked to reload a file that was not written.
        c.Report.Error(name + ": " + app::kMsgWriteFailed + " (" + target + " was left as it was)" +
                       WriteFailure(c));
        return kProblem;
    }
    doc["changed"] = true;
    doc["written"] = true;
    if (!Reload(c, name, bound.Handle(),
                "the table was written; the driver still works from the one it had")) {
        c.Report.Line(name + ": format.bin changed, " + target + " written, the reload failed");
        return kProblem;
    }
    c.Report.Line(name + ": format.bin changed, " + target + " written, the driver reloaded it");
    return kDone;
}

}  // namespace devicetool

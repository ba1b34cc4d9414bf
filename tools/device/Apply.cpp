// `apply DEVICE TABLE`: the table file in place of the driver's "format.bin", written and
// reloaded as Apply does, and nothing at all when it is in place already, so that the command
// may run again and again and say truthfully whether it changed anything.
#include "app/Messages.h"
#include "device/DriverProperties.h"
#include "device/DriverProtocol.h"
#include "platform/Platform.h"
#include "tools/device/Binding.h"
#include "tools/device/Commands.h"
#include "tools/device/TableFiles.h"

namespace devicetool {
namespace {

// Selector 1, as Apply asks; false with the message when the driver did not take it.
bool Reload(Context& c, const std::string& name, const device::DeviceHandle* handle,
            const char* state) {
    const bool reloaded = device::ReloadFormatTable(handle, device::kReloadFormatFile);
    c.Report.Doc()["reloaded"] = reloaded;
    if (!reloaded)
        c.Report.Error(name + ": " + app::kMsgReloadFail + " (" + state + ")");
    return reloaded;
}

// The table is in place already: nothing written, and the reload asked for only when wanted.
int Unchanged(Context& c, const std::string& name, const device::DeviceHandle* handle,
              const std::string& why) {
    c.Report.Doc()["installed"] = "same";
    if (c.Opts.AlwaysReload) {
        if (!Reload(c, name, handle, "nothing was written"))
            return kProblem;
        c.Report.Line(name + ": format.bin unchanged" + why + ", the driver reloaded it");
    } else {
        c.Report.Line(name + ": format.bin unchanged" + why);
    }
    return kDone;
}

}  // namespace

int ApplyTable(Context& c, const std::string& name, const std::string& tablePath) {
    Json& doc = c.Report.Doc();
    doc["device"] = name;
    doc["table"] = tablePath;
    doc["changed"] = false;
    doc["written"] = false;
    doc["reloaded"] = false;
    doc["changedMeanwhile"] = false;

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
    // What is there now, as the write must still find it: the command decides on what it read,
    // and a table another program puts in place meanwhile is not written over unseen.
    platform::FileContents installed;
    const bool readable = platform::ReadFileContents(platform::HostPath(target), installed);
    if (readable && installed.exists && installed.bytes == wanted)
        return Unchanged(c, name, bound.Handle(), "");
    doc["installed"] = readable && installed.exists ? "different" : "unreadable";

    platform::FileContents found;
    platform::ReplaceResult written = platform::ReplaceResult::Failed;
    if (readable) {
        written = table.WriteFormatFileIfUnchanged(table.TableDirectory, "format.bin", true,
                                                   installed, &found);
    } else if (table.WriteFormatFile(table.TableDirectory, "format.bin", true) == fmt::kOk) {
        // A file that cannot be read cannot be compared either; writing it is all there is.
        written = platform::ReplaceResult::Replaced;
    }
    if (written == platform::ReplaceResult::Changed) {
        // Another roll-out of this very table got there first: nothing is lost, nothing to do.
        if (found.exists && found.bytes == wanted)
            return Unchanged(c, name, bound.Handle(), " (another program put this table in place)");
        doc["changedMeanwhile"] = true;
        c.Report.Error(name + ": " + ChangedMeanwhile(target) +
                       "; the driver was not asked to reload");
        return kProblem;
    }
    if (written == platform::ReplaceResult::Failed) {
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

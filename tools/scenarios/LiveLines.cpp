// Lines after start that change the machine while the program runs: what a device's inputs
// receive (a cable pulled, another source, another resolution) and a device pulled out.
#include "tools/scenarios/Checks.h"
#include "tools/scenarios/World.h"

namespace scenarios {
namespace {

// "signal "NAME" [hdmi=SIGNAL|none] [vga=SIGNAL|none]"
bool ChangeSignals(IScenarioContext& context, const Line& line, std::string& error) {
    std::string hdmi;
    std::string vga;
    bool hasHdmi = false;
    bool hasVga = false;
    for (size_t i = 2; i < line.Size(); ++i) {
        const std::string& arg = line.Arg(i);
        if (arg.rfind("hdmi=", 0) == 0) {
            hdmi = arg.substr(5);
            hasHdmi = true;
        } else if (arg.rfind("vga=", 0) == 0) {
            vga = arg.substr(4);
            hasVga = true;
        } else {
            error = "unknown signal option '" + arg + "'";
            return false;
        }
    }
    if (line.Size() < 3 || (!hasHdmi && !hasVga)) {
        error = "signal takes \"NAME\" hdmi=SIGNAL|none and/or vga=SIGNAL|none";
        return false;
    }
    return context.World().ChangeSignals(line.Arg(1), hasHdmi ? &hdmi : nullptr,
                                         hasVga ? &vga : nullptr, error);
}

bool Unplug(IScenarioContext& context, const Line& line, std::string& error) {
    if (line.Size() != 2) {
        error = "unplug takes \"NAME\"";
        return false;
    }
    return context.World().Unplug(line.Arg(1), error);
}

struct LiveVerb {
    const char* verb;
    bool (*play)(IScenarioContext&, const Line&, std::string&);
};

constexpr LiveVerb kLiveVerbs[] = {{"signal", ChangeSignals}, {"unplug", Unplug}};

}  // namespace

bool IsLiveVerb(const std::string& verb) {
    for (const LiveVerb& entry : kLiveVerbs) {
        if (verb == entry.verb)
            return true;
    }
    return false;
}

void PlayLive(IScenarioContext& context, const Line& line) {
    for (const LiveVerb& entry : kLiveVerbs) {
        std::string error;
        if (line.Verb() == entry.verb && !entry.play(context, line, error))
            context.Fail(line, error);
    }
}

}  // namespace scenarios

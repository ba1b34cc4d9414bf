// The hosts this build of the runner can play scenarios on.
#include "tools/scenarios/ScenarioHost.h"

namespace scenarios {

#if defined(_WIN32)
std::unique_ptr<IScenarioHost> MakeWin32ScenarioHost();
std::unique_ptr<IScenarioHost> MakeDirectShowScenarioHost();
#endif
#if defined(VUVEREZE_SCENARIOS_QT)
std::unique_ptr<IScenarioHost> MakeQtScenarioHost();
#endif

std::unique_ptr<IScenarioHost> MakeScenarioHost(const std::string& name) {
    if (name == "headless") {
        return std::make_unique<CHeadlessScenarioHost>();
    }
#if defined(_WIN32)
    if (name == "win32") {
        return MakeWin32ScenarioHost();
    }
    if (name == "directshow") {
        return MakeDirectShowScenarioHost();
    }
#endif
#if defined(VUVEREZE_SCENARIOS_QT)
    if (name == "qt") {
        return MakeQtScenarioHost();
    }
#endif
    return nullptr;
}

std::vector<std::string> ScenarioHostNames() {
    std::vector<std::string> names = {"headless"};
#if defined(_WIN32)
    names.push_back("win32");
    names.push_back("directshow");
#endif
#if defined(VUVEREZE_SCENARIOS_QT)
    names.push_back("qt");
#endif
    return names;
}

}  // namespace scenarios

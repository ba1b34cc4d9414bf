#include "sim/SystemDescription.h"

#include <nlohmann/json.hpp>

#include "platform/Platform.h"
#include "sim/Faults.h"

namespace sim {

namespace {

using Json = nlohmann::ordered_json;

struct ArchitectureName {
    const char* Name;
    uint16_t Value;
};

constexpr ArchitectureName kArchitectures[] = {
    {"amd64", platform::PROCESSOR_ARCHITECTURE_AMD64},
    {"x86", platform::PROCESSOR_ARCHITECTURE_INTEL},
    {"arm64", platform::PROCESSOR_ARCHITECTURE_ARM64},
    {"ia64", platform::PROCESSOR_ARCHITECTURE_IA64},
    {"arm", platform::PROCESSOR_ARCHITECTURE_ARM},
};

constexpr const char* kNone = "none";

// Field names of an explicit timing object, in the order they are written.
struct TimingField {
    const char* Name;
    uint16_t VideoTiming::*Member;
};

constexpr TimingField kTimingFields[] = {
    {"hActive", &VideoTiming::HActive}, {"hFrontPorch", &VideoTiming::HFrontPorch},
    {"hSync", &VideoTiming::HSync},     {"hTotal", &VideoTiming::HTotal},
    {"vActive", &VideoTiming::VActive}, {"vFrontPorch", &VideoTiming::VFrontPorch},
    {"vSync", &VideoTiming::VSync},     {"vTotal", &VideoTiming::VTotal},
};

const char* PolarityText(bool positive) {
    return positive ? "positive" : "negative";
}

bool ReadPolarity(const Json& object, const char* key, bool& positive) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) {
        return false;
    }
    const std::string& text = it->get_ref<const Json::string_t&>();
    if (text != "positive" && text != "negative") {
        return false;
    }
    positive = text == "positive";
    return true;
}

bool ReadTiming(const Json& object, VideoTiming& timing, std::string& why) {
    for (const TimingField& field : kTimingFields) {
        const auto it = object.find(field.Name);
        if (it == object.end() || !it->is_number_unsigned() || it->get<uint64_t>() > 0xFFFF) {
            why = std::string("\"") + field.Name + "\" must be a whole number from 0 to 65535";
            return false;
        }
        timing.*field.Member = static_cast<uint16_t>(it->get<uint64_t>());
    }
    if (!ReadPolarity(object, "hSyncPolarity", timing.HSyncPositive) ||
        !ReadPolarity(object, "vSyncPolarity", timing.VSyncPositive)) {
        why = "the sync polarities must be \"positive\" or \"negative\"";
        return false;
    }
    const auto interlaced = object.find("interlaced");
    if (interlaced != object.end()) {
        if (!interlaced->is_boolean()) {
            why = "\"interlaced\" must be true or false";
            return false;
        }
        timing.Interlaced = interlaced->get<bool>();
    }
    const auto rate = object.find("frameRate");
    if (rate == object.end() || !rate->is_number()) {
        why = "\"frameRate\" must be a number";
        return false;
    }
    timing.FrameRate = rate->get<double>();
    return IsPlausibleTiming(timing, &why);
}

Json WriteInput(const InputDescription& input) {
    if (!input.Signal) {
        return kNone;
    }
    if (!input.Standard.empty()) {
        return input.Standard;
    }
    const VideoTiming& t = *input.Signal;
    Json object = Json::object();
    for (const TimingField& field : kTimingFields) {
        object[field.Name] = t.*field.Member;
    }
    object["hSyncPolarity"] = PolarityText(t.HSyncPositive);
    object["vSyncPolarity"] = PolarityText(t.VSyncPositive);
    object["interlaced"] = t.Interlaced;
    object["frameRate"] = t.FrameRate;
    return object;
}

bool ReadInput(const Json& value, InputDescription& input, std::string& why) {
    if (value.is_string()) {
        const std::string& name = value.get_ref<const Json::string_t&>();
        if (name == kNone) {
            input = NoSignal();
            return true;
        }
        if (!StandardSignal(name, input)) {
            why = "\"" + name + "\" is not a standard timing";
            return false;
        }
        return true;
    }
    if (value.is_object()) {
        VideoTiming timing;
        if (!ReadTiming(value, timing, why)) {
            return false;
        }
        input = TimingSignal(timing);
        return true;
    }
    why = "must be \"none\", a standard timing name or a timing object";
    return false;
}

bool ReadDevice(const Json& value, DeviceDescription& device, std::string& where,
                std::string& why) {
    if (!value.is_object()) {
        why = "must be an object";
        return false;
    }
    const auto name = value.find("friendlyName");
    if (name == value.end() || !name->is_string()) {
        where += ".friendlyName";
        why = "must be a text";
        return false;
    }
    device.FriendlyName = name->get<std::string>();
    const auto inputs = value.find("inputs");
    if (inputs != value.end()) {
        if (!inputs->is_object()) {
            where += ".inputs";
            why = "must be an object";
            return false;
        }
        for (const char* key : {"vga", "hdmi"}) {
            const auto input = inputs->find(key);
            InputDescription& target = std::string(key) == "vga" ? device.Vga : device.Hdmi;
            if (input != inputs->end() && !ReadInput(*input, target, why)) {
                where += std::string(".inputs.") + key;
                return false;
            }
        }
    }
    const auto faults = value.find("faults");
    if (faults != value.end()) {
        if (!faults->is_array()) {
            where += ".faults";
            why = "must be a list of fault names";
            return false;
        }
        for (const Json& fault : *faults) {
            Fault parsed;
            if (!fault.is_string() || !ParseFault(fault.get<std::string>(), parsed)) {
                where += ".faults";
                why = "\"" + fault.dump() + "\" is not a fault";
                return false;
            }
            device.Faults.push_back(fault.get<std::string>());
        }
    }
    return true;
}

}  // namespace

InputDescription NoSignal() {
    return {};
}

bool StandardSignal(std::string_view name, InputDescription& input) {
    const StandardTiming* standard = FindStandardTiming(name);
    if (standard == nullptr) {
        return false;
    }
    input.Signal = standard->Timing;
    input.Standard = standard->Name;
    return true;
}

InputDescription TimingSignal(const VideoTiming& timing) {
    return {timing, {}};
}

bool ParseArchitecture(std::string_view name, uint16_t& architecture) {
    for (const ArchitectureName& a : kArchitectures) {
        if (name == a.Name) {
            architecture = a.Value;
            return true;
        }
    }
    return false;
}

bool ValidateSystemDescription(const SystemDescription& description, std::string& error) {
    uint16_t architecture = 0;
    platform::CodePage codePage;
    if (!ParseArchitecture(description.Architecture, architecture)) {
        error = "architecture: \"" + description.Architecture + "\" is not known";
        return false;
    }
    if (!platform::ParseCodePage(description.CodePage, codePage)) {
        error = "codePage: \"" + description.CodePage + "\" is not known";
        return false;
    }
    for (size_t i = 0; i < description.Devices.size(); ++i) {
        const DeviceDescription& device = description.Devices[i];
        const std::string where = "devices[" + std::to_string(i) + "]";
        for (const InputDescription* input : {&device.Vga, &device.Hdmi}) {
            std::string why;
            if (input->Signal && !IsPlausibleTiming(*input->Signal, &why)) {
                error = where + ".inputs: " + why;
                return false;
            }
        }
        for (const std::string& name : device.Faults) {
            Fault fault;
            if (!ParseFault(name, fault)) {
                error = where + ".faults: \"" + name + "\" is not a fault";
                return false;
            }
        }
    }
    return true;
}

bool ParseSystemDescription(std::string_view json, SystemDescription& description,
                            std::string& error) {
    const Json root = Json::parse(json.begin(), json.end(), nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        error = "the description is not a JSON object";
        return false;
    }
    SystemDescription parsed;
    for (auto [key, target] : {std::pair{"architecture", &parsed.Architecture},
                               std::pair{"codePage", &parsed.CodePage}}) {
        const auto it = root.find(key);
        if (it != root.end()) {
            if (!it->is_string()) {
                error = std::string(key) + ": must be a text";
                return false;
            }
            *target = it->get<std::string>();
        }
    }
    const auto devices = root.find("devices");
    if (devices != root.end()) {
        if (!devices->is_array()) {
            error = "devices: must be a list";
            return false;
        }
        for (size_t i = 0; i < devices->size(); ++i) {
            DeviceDescription device;
            std::string where = "devices[" + std::to_string(i) + "]";
            std::string why;
            if (!ReadDevice((*devices)[i], device, where, why)) {
                error = where + ": " + why;
                return false;
            }
            parsed.Devices.push_back(std::move(device));
        }
    }
    if (!ValidateSystemDescription(parsed, error)) {
        return false;
    }
    description = std::move(parsed);
    return true;
}

std::string FormatSystemDescription(const SystemDescription& description) {
    Json root = Json::object();
    root["architecture"] = description.Architecture;
    root["codePage"] = description.CodePage;
    Json devices = Json::array();
    for (const DeviceDescription& device : description.Devices) {
        Json entry = Json::object();
        entry["friendlyName"] = device.FriendlyName;
        entry["inputs"] = {{"vga", WriteInput(device.Vga)}, {"hdmi", WriteInput(device.Hdmi)}};
        entry["faults"] = device.Faults;
        devices.push_back(std::move(entry));
    }
    root["devices"] = std::move(devices);
    // A name given in code may not be UTF-8; it is written with replacement characters rather
    // than refused.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace sim

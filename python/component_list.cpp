#include "python/component_list.h"

#include <string>

#include "python/name_text.h"

namespace {

double numberField(const py::dict& component, const char* key, double fallback, size_t index) {
    if (!component.contains(key)) return fallback;
    try {
        return component[key].cast<double>();
    } catch (py::cast_error&) {
        throw py::value_error("component " + std::to_string(index + 1) + ": " + key +
                              " is not a number");
    }
}

} // namespace

void setComponents(SignalParameters& params, const py::list& list, double level) {
    if (list.size() > size_t(MAX_COMPONENTS))
        throw py::value_error("the component count must be 0 to 10");
    SignalParameters fresh;
    resetParameters(fresh);
    for (size_t i = 0; i < list.size(); ++i) {
        auto component = list[i].cast<py::dict>();
        if (!component.contains("frequency"))
            throw py::value_error("component " + std::to_string(i + 1) + " has no frequency");
        SignalComponent& c = fresh.components[i];
        if (component.contains("name")) {
            const std::string what = "the name of component " + std::to_string(i + 1);
            copyField(c.name, MAX_COMPONENT_NAME + 1,
                      nameBytes(component["name"], what.c_str()).c_str());
        }
        c.frequency = numberField(component, "frequency", c.frequency, i);
        c.amplitude = numberField(component, "amplitude", c.amplitude, i);
        c.k = numberField(component, "k", c.k, i);
        c.a = numberField(component, "a", c.a, i);
        c.d = numberField(component, "d", c.d, i);
        c.eta = numberField(component, "eta", c.eta, i);
    }
    fresh.componentCount = int32_t(list.size());
    fresh.level = level;
    params = fresh;
}

py::list componentDicts(const SignalParameters& params) {
    py::list list;
    for (int i = 0; i < params.componentCount && i < MAX_COMPONENTS; ++i) {
        const SignalComponent& c = params.components[i];
        py::dict d;
        d["name"] = nameText(c.name, sizeof c.name);
        d["frequency"] = c.frequency;
        d["amplitude"] = c.amplitude;
        d["k"] = c.k;
        d["a"] = c.a;
        d["d"] = c.d;
        d["eta"] = c.eta;
        list.append(d);
    }
    return list;
}

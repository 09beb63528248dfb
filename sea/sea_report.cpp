#include "sea/sea_report.h"

#include <cstdio>

std::vector<SeaReportField> seaReportFields(const SeaReport& r) {
    std::vector<SeaReportField> f = {
        {"Hm0", r.hm0, r.solitary ? "solitary wave height" : "Hm0 target", "m"},
        {"Tp", r.tp, r.solitary ? "paddle motion" : "Tp target", "s"},
        {"fmin", r.fmin, "lowest frequency", "Hz"},
        {"fmax", r.fmax, "highest frequency", "Hz"},
        {"components", double(r.components), "components", "", true},
        {"samples", double(r.samples), "samples", "", true},
        {"dt", r.dt, "time step", "s"},
        {"duration", r.duration, "repeat period", "s"},
        {"ramp", r.ramp, "ramps", "s"},
        {"seed", double(r.seed), "seed", ""},
        {"stroke", r.largestStroke, "largest stroke", "m"},
        {"displacement", r.largestDisplacement, "largest displacement", "m"},
        {"velocity", r.largestVelocity, "largest velocity", "m/s"},
    };
    if (r.focused) {
        f.push_back({"focus_crest", r.focusCrest, "crest at focus", "m"});
        f.push_back({"focus_time", r.focusTime, "focus time", "s"});
        f.push_back({"focus_distance", r.focusDistance, "focus distance", "m"});
    }
    if (r.order == 2) {
        f.push_back({"order", 2, "order", "", true});
        f.push_back({"pairs_fmin", r.pairFmin, "lowest frequency of pairs", "Hz"});
        f.push_back({"pairs_fmax", r.pairFmax, "highest frequency of pairs", "Hz"});
        f.push_back({"difference_fmin", r.differenceFmin, "long waves from", "Hz"});
        f.push_back({"crest", r.targetCrest, "largest crest of target", "m"});
        f.push_back({"trough", r.targetTrough, "deepest trough of target", "m"});
        f.push_back({"ursell", r.ursell, "Ursell number", ""});
        f.push_back({"subharmonic_factor", r.subharmonicFactor, "subharmonic factor", ""});
    }
    if (r.corrected) {
        f.push_back({"measured_Hm0", r.measuredHm0, "Hm0 measured", "m"});
        f.push_back({"measured_Tp", r.measuredTp, "Tp measured", "s"});
        f.push_back({"band_error", r.bandError, "largest band energy error", ""});
        f.push_back({"band_error_rms", r.bandErrorRms, "rms band energy error", ""});
        f.push_back({"gain_min", r.gainMin, "smallest gain", ""});
        f.push_back({"gain_max", r.gainMax, "largest gain", ""});
        f.push_back({"measured_from", double(r.measuredFirst), "first row measured", "", true});
        f.push_back({"measured_to", double(r.measuredLast), "last row measured", "", true});
        f.push_back({"measured_periods", double(r.measuredPeriods), "whole repeat periods measured",
                     "", true});
    }
    return f;
}

std::vector<std::pair<std::string, std::string>> seaReportWords(const SeaReport& r,
                                                                const SeaParameters& p) {
    // A wave that is no sea has its kind where the spectrum and method go.
    const char* kind = r.solitary      ? "solitary"
                       : r.regular     ? "regular"
                       : r.bichromatic ? "bichromatic"
                       : r.focused     ? "focused"
                                       : "";
    std::vector<std::pair<std::string, std::string>> words = {
        {"spectrum",
         r.solitary || r.regular || r.bichromatic ? kind : spectrumShapeName(p.spectrum)},
        {"paddle", paddleTypeName(r.paddle)},
        {"method", *kind ? kind : seaMethodName(r.method)}};
    if (r.order == 2)
        words.emplace_back("harmonics", r.subharmonics && r.superharmonics ? "sub+super"
                                        : r.subharmonics                   ? "sub"
                                                                           : "super");
    if (!r.warning.empty()) words.emplace_back("warning", r.warning);
    return words;
}

std::vector<std::string> seaReportLines(const SeaReport& r, const SeaParameters& p) {
    std::vector<std::string> lines;
    for (const auto& word : seaReportWords(r, p))
        lines.push_back(word.first + "\t" + word.second);
    for (const SeaReportField& f : seaReportFields(r)) {
        char text[160];
        std::snprintf(text, sizeof text, "%s\t%.6g%s%s", f.label, f.value, *f.unit ? " " : "",
                      f.unit);
        lines.push_back(text);
    }
    return lines;
}

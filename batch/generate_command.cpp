// ondarix-batch generate: synthesise a wave-maker signal into a file.
#include <cctype>
#include <charconv>
#include <cstdio>
#include <string>

#include "batch/batch_command.h"
#include "generator/generator.h"
#include "generator/generator_synthesis.h"
#include "measure/measure_file.h"

namespace {

const BatchCommand& self() {
    static const BatchCommand& command = *findBatchCommand("generate");
    return command;
}

// "RISE,STEADY,DECAY": three whole numbers of waves.
bool parseWaves(const std::string& text, GeneratorParameters& p) {
    int32_t* fields[3] = {&p.czas_narastania, &p.czas_ustalony, &p.czas_zaniku};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 3; ++i) {
        auto res = std::from_chars(at, end, *fields[i]);
        if (res.ec != std::errc() || res.ptr == at) return false;
        at = res.ptr;
        if (i < 2) {
            if (at == end || *at != ',') return false;
            ++at;
        }
    }
    return at == end;
}

// Only the three formats the generator's signal is worth keeping in; an
// unknown extension is a mistake on the command line, not a wish for .INT.
bool outputType(const std::string& path, FileType& type) {
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "int")
        type = FileType::Int;
    else if (ext == "txt")
        type = FileType::Text;
    else if (ext == "m11")
        type = FileType::M11;
    else
        return false;
    return true;
}

// Options map onto the record fields of the same meaning; unset ones keep the
// record's built-in defaults, never the stored settings.
void readParameters(Args& args, GeneratorParameters& p) {
    p.model_generacji = args.getInt("model", p.model_generacji);
    p.okres_probkowania = args.getDouble("time-step", p.okres_probkowania);
    p.dlugosc_fali = args.getDouble("wave-length", p.dlugosc_fali);
    p.wysokosc_wody = args.getDouble("depth", p.wysokosc_wody);
    p.narastanie = args.getDouble("rise", p.narastanie);
    p.wspolczynnik_xa = args.getDouble("xa", p.wspolczynnik_xa);
    p.wspolczynnik_w1 = args.getDouble("c1", p.wspolczynnik_w1);
    p.wspolczynnik_w2 = args.getDouble("c2", p.wspolczynnik_w2);
    p.wspolczynnik_w3 = args.getDouble("c3", p.wspolczynnik_w3);
    p.wspolczynnik_fio = args.getDouble("fio", p.wspolczynnik_fio);
    p.wspolczynnik_cr = args.getDouble("cr", p.wspolczynnik_cr);
    p.wielkosc_grupy = args.getDouble("nw", p.wielkosc_grupy);
    p.stopien_rozniczkowalnosci = args.getInt("degree", p.stopien_rozniczkowalnosci);
    if (args.has("waves") && !parseWaves(args.get("waves"), p))
        args.fail("--waves takes three whole numbers RISE,STEADY,DECAY, not '" + args.get("waves") +
                  "'");
}

int runGenerate(Args& args) {
    args.allowOnly({"model", "waves", "time-step", "wave-length", "depth", "rise", "xa", "c1", "c2",
                    "c3", "fio", "cr", "nw", "degree", "o"});
    GeneratorParameters p;
    readParameters(args, p);
    if (!args.error().empty()) return usageError(self(), args.error());
    if (!args.positional().empty()) return usageError(self(), "generate takes no input file");
    if (!args.has("o")) return usageError(self(), "generate needs -o OUT");
    const std::string out = args.get("o");
    FileType type;
    if (!outputType(out, type)) return usageError(self(), "OUT must end in .INT, .TXT or .M11");

    CGenerator generator(p);
    std::string why;
    if (!GeneratorSynthesis(generator, &why)) return reportError(EXIT_FAILED, why);
    if (!writeMeasure(generator, out, type, &why)) return reportError(EXIT_FAILED, why);
    std::printf("T = %f s\n", generator.parameters.period);
    return EXIT_OK;
}

BatchCommandRegistration generate{
    {"generate",
     "[--model N] [--waves RISE,STEADY,DECAY] [--time-step S] [--wave-length M] [--depth M] "
     "[--rise F] [--xa V] [--c1 V --c2 V --c3 V] [--fio V] [--cr V] [--nw V] [--degree N] "
     "-o OUT.INT|OUT.TXT|OUT.M11",
     "synthesise a wave-maker signal (channel 0 in cm, channel 1 its derivative)",
     {"model", "waves", "time-step", "wave-length", "depth", "rise", "xa", "c1", "c2", "c3", "fio",
      "cr", "nw", "degree"},
     runGenerate}};

} // namespace

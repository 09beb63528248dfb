#include "sea/ui/irregular_sea_dlg.h"

#include <QDialog>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "sea/spectrum_table.h"
#include "sea/ui/sea_dialog_templates.h"
#include "shell/dialog_templates.h"
#include "shell/ui/modal_ui.h"

namespace {

// In SpectrumShape's order.
const QStringList SPECTRUM_NAMES = {"JONSWAP",
                                    "Pierson-Moskowitz",
                                    "TMA",
                                    "Table from a file",
                                    "Bretschneider-Mitsuyasu",
                                    "Gaussian swell",
                                    "Ochi-Hubble",
                                    "Composite (swell + wind sea)",
                                    "Torsethaugen"};
// The shapes a part of a composite sea may have.
constexpr SpectrumShape PART_SHAPES[] = {
    SpectrumShape::Jonswap,  SpectrumShape::PiersonMoskowitz,
    SpectrumShape::Tma,      SpectrumShape::BretschneiderMitsuyasu,
    SpectrumShape::Gaussian, SpectrumShape::Torsethaugen};
const QStringList PART_NAMES = {
    "JONSWAP",        "Pierson-Moskowitz", "TMA", "Bretschneider-Mitsuyasu",
    "Gaussian swell", "Torsethaugen"};
// In PaddleType's order.
const QStringList PADDLE_NAMES = {"Piston", "Flap"};
// In SeaMethod's order.
const QStringList METHOD_NAMES = {"Random phases", "Random amplitudes"};
// What the drive makes: a sea of the spectrum, one or two regular waves, a
// focused group of the spectrum, or a solitary wave.
enum class WaveKind { Irregular, Regular, Bichromatic, Focused, Solitary };
const QStringList WAVE_NAMES = {"Irregular sea", "Regular wave", "Bichromatic group",
                                "Focused group", "Solitary wave"};
const QStringList ORDER_NAMES = {"First order", "Second order"};

WaveKind waveKindOf(const SeaParameters& p) {
    if (p.solitaryHeight > 0) return WaveKind::Solitary;
    if (p.bichromatic) return WaveKind::Bichromatic;
    if (p.regular) return WaveKind::Regular;
    return p.focused ? WaveKind::Focused : WaveKind::Irregular;
}

int partIndex(SpectrumShape shape) {
    const auto* found = std::find(std::begin(PART_SHAPES), std::end(PART_SHAPES), shape);
    return found == std::end(PART_SHAPES) ? 0 : int(found - std::begin(PART_SHAPES));
}

SpectrumShape partShape(int index) {
    return index >= 0 && index < int(std::size(PART_SHAPES)) ? PART_SHAPES[index]
                                                             : SpectrumShape::Jonswap;
}

bool takesGamma(SpectrumShape shape) {
    return shape == SpectrumShape::Jonswap || shape == SpectrumShape::Tma;
}

struct NumberField {
    int id;
    double SeaParameters::*field;
};

constexpr NumberField NUMBER_FIELDS[] = {
    {IDC_SEA_HM0, &SeaParameters::hm0},           {IDC_SEA_TP, &SeaParameters::tp},
    {IDC_SEA_GAMMA, &SeaParameters::gamma},       {IDC_SEA_DEPTH, &SeaParameters::depth},
    {IDC_SEA_DURATION, &SeaParameters::duration}, {IDC_SEA_TIME_STEP, &SeaParameters::dt},
};

// Fields whose blank stands for the core's default or for no limit.
struct OptionalField {
    int id;
    double SeaParameters::*field;
    double blank;
};

constexpr OptionalField OPTIONAL_FIELDS[] = {
    {IDC_SEA_FMIN, &SeaParameters::fmin, 0},
    {IDC_SEA_FMAX, &SeaParameters::fmax, 0},
    {IDC_SEA_RAMP, &SeaParameters::ramp, -1},
    {IDC_SEA_MAX_STROKE, &SeaParameters::maxStroke, 0},
    {IDC_SEA_MAX_VELOCITY, &SeaParameters::maxVelocity, 0},
    {IDC_SEA_FOCUS_DISTANCE, &SeaParameters::focusDistance, 0},
    {IDC_SEA_CREST, &SeaParameters::focusCrest, 0},
    {IDC_SEA_SOLITARY, &SeaParameters::solitaryHeight, 0},
    {IDC_SEA_SIGMA, &SeaParameters::sigma, 0},
    {IDC_SEA_PAIR_FMIN, &SeaParameters::pairFmin, 0},
    {IDC_SEA_PAIR_FMAX, &SeaParameters::pairFmax, 0},
    {IDC_SEA_DIFFERENCE_FMIN, &SeaParameters::differenceFmin, SEA_DEFAULT_DIFFERENCE_FMIN},
};

// The core's reasons start in lower case for the command line's prefix.
QString sentence(const std::string& reason) {
    QString text = QString::fromStdString(reason);
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text + QLatin1Char('.');
}

} // namespace

int CIrregularSeaDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setComboItems(IDC_SEA_SPECTRUM, SPECTRUM_NAMES, int(parameters.spectrum));
    setComboItems(IDC_SEA_PADDLE, PADDLE_NAMES, int(parameters.paddle.type));
    setComboItems(IDC_SEA_METHOD, METHOD_NAMES, int(parameters.method));
    for (const NumberField& f : NUMBER_FIELDS)
        setDouble(f.id, parameters.*f.field);
    setDouble(IDC_SEA_HINGE, parameters.paddle.hinge);
    setText(IDC_SEA_SEED, QString::number(parameters.seed));
    for (const OptionalField& f : OPTIONAL_FIELDS)
        showOptional(f.id, parameters.*f.field, f.blank);
    setText(IDC_SEA_TABLE, QString::fromStdString(tablePath));
    showWave();
    showTwoPartSea();
    enableFields();
    return 1;
}

void CIrregularSeaDlg::showWave() {
    const SeaParameters& p = parameters;
    setComboItems(IDC_SEA_WAVE, WAVE_NAMES, int(waveKindOf(p)));
    // Blank: the middle of the drive.
    if (p.focused) setDouble(IDC_SEA_FOCUS_TIME, p.focusTime);
    showOptional(IDC_SEA_WAVE_HEIGHT, p.bichromatic ? p.bichromaticHeight[0] : p.regularHeight, 0);
    showOptional(IDC_SEA_WAVE_PERIOD, p.bichromatic ? p.bichromaticPeriod[0] : p.regularPeriod, 0);
    showOptional(IDC_SEA_SECOND_HEIGHT, p.bichromaticHeight[1], 0);
    showOptional(IDC_SEA_SECOND_PERIOD, p.bichromaticPeriod[1], 0);
    setComboItems(IDC_SEA_ORDER, ORDER_NAMES, p.order == 2 ? 1 : 0);
    setChecked(IDC_SEA_SUBHARMONICS, p.subharmonics);
    setChecked(IDC_SEA_SUPERHARMONICS, p.superharmonics);
    setChecked(IDC_SEA_LIMIT_SUBHARMONICS, p.limitSubharmonics);
}

// A two-part sea's main Hm0, Tp and gamma are its wind sea's; the swell is
// the composite's part of the longer Tp, or Ochi-Hubble's first part.
void CIrregularSeaDlg::showTwoPartSea() {
    const SeaParameters& p = parameters;
    SeaPart swell, wind;
    if (p.spectrum == SpectrumShape::Composite && p.parts.size() >= 2) {
        const bool firstIsSwell = p.parts[0].tp >= p.parts[1].tp;
        swell = p.parts[firstIsSwell ? 0 : 1];
        wind = p.parts[firstIsSwell ? 1 : 0];
        setDouble(IDC_SEA_HM0, wind.hm0);
        setDouble(IDC_SEA_TP, wind.tp);
        setDouble(IDC_SEA_GAMMA, wind.gamma);
    }
    setComboItems(IDC_SEA_SWELL_SPECTRUM, PART_NAMES, partIndex(swell.shape));
    setComboItems(IDC_SEA_WIND_SPECTRUM, PART_NAMES, partIndex(wind.shape));
    showOptional(IDC_SEA_SWELL_HM0, swell.hm0, 0);
    showOptional(IDC_SEA_SWELL_TP, swell.tp, 0);
    setDouble(IDC_SEA_SWELL_GAMMA, swell.gamma);
    const OchiHubbleParts& o = p.ochiHubble;
    showOptional(IDC_SEA_LAMBDA, o.lambda[1], 0);
    showOptional(IDC_SEA_SWELL_LAMBDA, o.lambda[0], 0);
    if (p.spectrum != SpectrumShape::OchiHubble) return;
    setDouble(IDC_SEA_HM0, o.height[1]);
    setDouble(IDC_SEA_TP, o.period[1]);
    setDouble(IDC_SEA_SWELL_HM0, o.height[0]);
    setDouble(IDC_SEA_SWELL_TP, o.period[0]);
}

void CIrregularSeaDlg::showOptional(int id, double value, double blank) {
    if (value == blank)
        setText(id, QString());
    else
        setDouble(id, value);
}

void CIrregularSeaDlg::enableFields() {
    const WaveKind wave = WaveKind(std::max(0, comboSelection(IDC_SEA_WAVE)));
    const bool spectral = wave == WaveKind::Irregular || wave == WaveKind::Focused;
    const bool solitary = wave == WaveKind::Solitary;
    enableSpectrumFields(spectral);
    enableControl(IDC_SEA_FMIN, spectral);
    enableControl(IDC_SEA_FMAX, spectral);
    enableControl(IDC_SEA_RAMP, !solitary); // a solitary wave starts and ends at rest
    // A focused group's phases and amplitudes are its own.
    enableControl(IDC_SEA_SEED, wave == WaveKind::Irregular);
    enableControl(IDC_SEA_METHOD, wave == WaveKind::Irregular);
    for (int id : {IDC_SEA_FOCUS_TIME, IDC_SEA_FOCUS_DISTANCE, IDC_SEA_CREST})
        enableControl(id, wave == WaveKind::Focused);
    enableControl(IDC_SEA_SOLITARY, solitary);
    const bool regular = wave == WaveKind::Regular || wave == WaveKind::Bichromatic;
    enableControl(IDC_SEA_WAVE_HEIGHT, regular);
    enableControl(IDC_SEA_WAVE_PERIOD, regular);
    enableControl(IDC_SEA_SECOND_HEIGHT, wave == WaveKind::Bichromatic);
    enableControl(IDC_SEA_SECOND_PERIOD, wave == WaveKind::Bichromatic);
    // A solitary wave is Goring's piston motion, with no order to choose.
    enableControl(IDC_SEA_ORDER, !solitary);
    const bool second = !solitary && comboSelection(IDC_SEA_ORDER) == 1;
    for (int id :
         {IDC_SEA_SUBHARMONICS, IDC_SEA_SUPERHARMONICS, IDC_SEA_PAIR_FMIN, IDC_SEA_PAIR_FMAX})
        enableControl(id, second);
    for (int id : {IDC_SEA_LIMIT_SUBHARMONICS, IDC_SEA_DIFFERENCE_FMIN})
        enableControl(id, second && isChecked(IDC_SEA_SUBHARMONICS));
    enableControl(IDC_SEA_HINGE, comboSelection(IDC_SEA_PADDLE) == int(PaddleType::Flap));
}

void CIrregularSeaDlg::enableSpectrumFields(bool spectral) {
    const SpectrumShape shape = SpectrumShape(comboSelection(IDC_SEA_SPECTRUM));
    const bool composite = spectral && shape == SpectrumShape::Composite;
    const bool ochiHubble = spectral && shape == SpectrumShape::OchiHubble;
    const SpectrumShape swell = partShape(comboSelection(IDC_SEA_SWELL_SPECTRUM));
    const SpectrumShape wind = partShape(comboSelection(IDC_SEA_WIND_SPECTRUM));
    for (int id : {IDC_SEA_SPECTRUM, IDC_SEA_HM0, IDC_SEA_TP})
        enableControl(id, spectral);
    enableControl(IDC_SEA_TABLE, spectral && shape == SpectrumShape::Table);
    enableControl(IDC_SEA_BROWSE, spectral && shape == SpectrumShape::Table);
    enableControl(IDC_SEA_GAMMA,
                  spectral && (takesGamma(shape) || (composite && takesGamma(wind))));
    const bool gaussian =
        shape == SpectrumShape::Gaussian ||
        (composite && (swell == SpectrumShape::Gaussian || wind == SpectrumShape::Gaussian));
    enableControl(IDC_SEA_SIGMA, spectral && gaussian);
    enableControl(IDC_SEA_SWELL_SPECTRUM, composite);
    enableControl(IDC_SEA_WIND_SPECTRUM, composite);
    enableControl(IDC_SEA_SWELL_HM0, composite || ochiHubble);
    enableControl(IDC_SEA_SWELL_TP, composite || ochiHubble);
    enableControl(IDC_SEA_SWELL_GAMMA, composite && takesGamma(swell));
    enableControl(IDC_SEA_LAMBDA, ochiHubble);
    enableControl(IDC_SEA_SWELL_LAMBDA, ochiHubble);
}

int CIrregularSeaDlg::OnCommand(int id, int code, QWidget*) {
    const bool list = id == IDC_SEA_SPECTRUM || id == IDC_SEA_PADDLE || id == IDC_SEA_WAVE ||
                      id == IDC_SEA_ORDER || id == IDC_SEA_SWELL_SPECTRUM ||
                      id == IDC_SEA_WIND_SPECTRUM;
    if ((list && code == CBN_SELCHANGE) || (id == IDC_SEA_SUBHARMONICS && code == BN_CLICKED))
        enableFields();
    if (id == IDC_SEA_BROWSE) browseTable();
    return 0;
}

void CIrregularSeaDlg::browseTable() {
    FileDialogRequest request;
    request.title = QStringLiteral("Target spectrum");
    request.filters = {QStringLiteral("Spectrum tables (*.txt *.TXT *.csv *.CSV)"),
                       QStringLiteral("All files (*.*)")};
    request.fileName = text(IDC_SEA_TABLE);
    request.defaultSuffix.clear();
    FileDialogAnswer answer = modalUi().fileDialog(hwnd, request);
    if (answer.accepted) setText(IDC_SEA_TABLE, answer.path);
}

bool CIrregularSeaDlg::readOptional(int id, double& out, double blank) {
    if (text(id).trimmed().isEmpty()) {
        out = blank;
        return true;
    }
    return readDouble(id, out);
}

bool CIrregularSeaDlg::readTable(SeaParameters& read) {
    // A regular or solitary wave asks for no table, even with Table chosen.
    if (read.spectrum != SpectrumShape::Table || !control(IDC_SEA_TABLE)->isEnabled()) return true;
    const std::string path = text(IDC_SEA_TABLE).trimmed().toStdString();
    if (path.empty()) {
        showFieldHint(IDC_SEA_TABLE, QStringLiteral("Choose the file of the target spectrum."));
        return false;
    }
    std::string why;
    if (!readSpectrumTable(path, read.table, &why)) {
        showFieldHint(IDC_SEA_TABLE, sentence(why));
        return false;
    }
    tablePath = path;
    return true;
}

bool CIrregularSeaDlg::readWave(SeaParameters& read) {
    const WaveKind wave = WaveKind(std::max(0, comboSelection(IDC_SEA_WAVE)));
    read.focused = wave == WaveKind::Focused;
    read.regular = wave == WaveKind::Regular;
    read.bichromatic = wave == WaveKind::Bichromatic;
    if (wave != WaveKind::Solitary) read.solitaryHeight = 0;
    if (wave == WaveKind::Solitary && !(read.solitaryHeight > 0)) {
        showFieldHint(IDC_SEA_SOLITARY, QStringLiteral("Enter the solitary wave's height."));
        return false;
    }
    if (read.regular)
        return readDouble(IDC_SEA_WAVE_HEIGHT, read.regularHeight) &&
               readDouble(IDC_SEA_WAVE_PERIOD, read.regularPeriod);
    if (read.bichromatic)
        return readDouble(IDC_SEA_WAVE_HEIGHT, read.bichromaticHeight[0]) &&
               readDouble(IDC_SEA_WAVE_PERIOD, read.bichromaticPeriod[0]) &&
               readDouble(IDC_SEA_SECOND_HEIGHT, read.bichromaticHeight[1]) &&
               readDouble(IDC_SEA_SECOND_PERIOD, read.bichromaticPeriod[1]);
    if (!read.focused) return true;
    double time = NAN;
    if (!readOptional(IDC_SEA_FOCUS_TIME, time, NAN)) return false;
    read.focusTime = std::isnan(time) ? read.duration / 2 : time;
    return true;
}

bool CIrregularSeaDlg::readOrder(SeaParameters& read) {
    const bool second = control(IDC_SEA_ORDER)->isEnabled() && comboSelection(IDC_SEA_ORDER) == 1;
    read.order = second ? 2 : 1;
    // A first-order drive keeps none of the second order's choices: the
    // core refuses them there, and they would come back with a later one.
    const SeaParameters plain;
    read.subharmonics = second ? isChecked(IDC_SEA_SUBHARMONICS) : plain.subharmonics;
    read.superharmonics = second ? isChecked(IDC_SEA_SUPERHARMONICS) : plain.superharmonics;
    read.limitSubharmonics =
        control(IDC_SEA_LIMIT_SUBHARMONICS)->isEnabled() && isChecked(IDC_SEA_LIMIT_SUBHARMONICS);
    if (!second) {
        read.pairFmin = plain.pairFmin;
        read.pairFmax = plain.pairFmax;
    }
    if (!control(IDC_SEA_DIFFERENCE_FMIN)->isEnabled()) read.differenceFmin = plain.differenceFmin;
    return true;
}

bool CIrregularSeaDlg::readTwoPartSea(SeaParameters& read) {
    if (!control(IDC_SEA_SWELL_HM0)->isEnabled()) return true;
    if (read.spectrum == SpectrumShape::OchiHubble) {
        OchiHubbleParts& o = read.ochiHubble;
        o.height[1] = read.hm0;
        o.period[1] = read.tp;
        if (!readDouble(IDC_SEA_LAMBDA, o.lambda[1]) ||
            !readDouble(IDC_SEA_SWELL_HM0, o.height[0]) ||
            !readDouble(IDC_SEA_SWELL_TP, o.period[0]) ||
            !readDouble(IDC_SEA_SWELL_LAMBDA, o.lambda[0]))
            return false;
        ochiHubbleTotals(o, read.hm0, read.tp);
        return true;
    }
    // The shapes without a gamma take 1, which the core accepts and ignores.
    SeaPart swell, wind;
    swell.shape = partShape(comboSelection(IDC_SEA_SWELL_SPECTRUM));
    swell.gamma = 1;
    if (!readDouble(IDC_SEA_SWELL_HM0, swell.hm0) || !readDouble(IDC_SEA_SWELL_TP, swell.tp) ||
        (takesGamma(swell.shape) && !readDouble(IDC_SEA_SWELL_GAMMA, swell.gamma)))
        return false;
    wind.shape = partShape(comboSelection(IDC_SEA_WIND_SPECTRUM));
    wind.hm0 = read.hm0;
    wind.tp = read.tp;
    wind.gamma = takesGamma(wind.shape) ? read.gamma : 1;
    read.parts = {swell, wind};
    compositeTotals(read.parts, read.hm0, read.tp);
    return true;
}

bool CIrregularSeaDlg::readFields(SeaParameters& read) {
    read.spectrum = SpectrumShape(std::max(0, comboSelection(IDC_SEA_SPECTRUM)));
    read.paddle.type = PaddleType(std::max(0, comboSelection(IDC_SEA_PADDLE)));
    read.method = SeaMethod(std::max(0, comboSelection(IDC_SEA_METHOD)));
    for (const NumberField& f : NUMBER_FIELDS)
        if (control(f.id)->isEnabled() && !readDouble(f.id, read.*f.field)) return false;
    if (read.spectrum == SpectrumShape::PiersonMoskowitz) read.gamma = 1;
    read.paddle.hinge = 0;
    if (read.paddle.type == PaddleType::Flap && !readDouble(IDC_SEA_HINGE, read.paddle.hinge))
        return false;
    if (control(IDC_SEA_SEED)->isEnabled()) {
        bool ok = false;
        const qulonglong seed = text(IDC_SEA_SEED).trimmed().toULongLong(&ok);
        if (!ok) {
            showFieldHint(IDC_SEA_SEED, QStringLiteral("Enter a whole number from 0 to %1.")
                                            .arg(QString::number(UINT64_MAX)));
            return false;
        }
        read.seed = seed;
    }
    for (const OptionalField& f : OPTIONAL_FIELDS)
        if (control(f.id)->isEnabled() && !readOptional(f.id, read.*f.field, f.blank)) return false;
    return readWave(read) && readOrder(read) && readTwoPartSea(read) && readTable(read);
}

int CIrregularSeaDlg::OnOK() {
    SeaParameters read = parameters;
    if (!readFields(read)) return 1;
    std::string why = validateSeaParameters(read);
    auto drive = std::make_unique<SeaDrive>();
    if (why.empty() && !synthesiseSea(read, *drive, &why) && why.empty())
        why = "the drive could not be synthesised";
    if (!why.empty()) {
        showFieldHint(IDC_STATIC, sentence(why));
        return 1;
    }
    parameters = read;
    created = std::move(drive);
    return CDialog::OnOK();
}

#include "sea/ui/irregular_sea_dlg.h"

#include <QDialog>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "sea/spectrum_table.h"
#include "sea/ui/sea_dialog_templates.h"
#include "shell/dialog_templates.h"
#include "shell/ui/modal_ui.h"

namespace {

// In SpectrumShape's order (Ochi-Hubble's six numbers are the command
// line's and Python's).
const QStringList SPECTRUM_NAMES = {
    "JONSWAP",           "Pierson-Moskowitz",       "TMA",
    "Table from a file", "Bretschneider-Mitsuyasu", "Gaussian swell"};
// In PaddleType's order.
const QStringList PADDLE_NAMES = {"Piston", "Flap"};
// In SeaMethod's order.
const QStringList METHOD_NAMES = {"Random phases", "Random amplitudes"};
// What the drive makes: a random sea of the spectrum, a focused group of it,
// or a solitary wave without one.
enum class WaveKind { Random, Focused, Solitary };
const QStringList WAVE_NAMES = {"Random sea", "Focused group", "Solitary wave"};

WaveKind waveKindOf(const SeaParameters& p) {
    if (p.solitaryHeight > 0) return WaveKind::Solitary;
    return p.focused ? WaveKind::Focused : WaveKind::Random;
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
    setComboItems(IDC_SEA_WAVE, WAVE_NAMES, int(waveKindOf(parameters)));
    // Blank: the middle of the drive.
    if (parameters.focused) setDouble(IDC_SEA_FOCUS_TIME, parameters.focusTime);
    for (const NumberField& f : NUMBER_FIELDS)
        setDouble(f.id, parameters.*f.field);
    setDouble(IDC_SEA_HINGE, parameters.paddle.hinge);
    setText(IDC_SEA_SEED, QString::number(parameters.seed));
    for (const OptionalField& f : OPTIONAL_FIELDS)
        showOptional(f.id, parameters.*f.field, f.blank);
    setText(IDC_SEA_TABLE, QString::fromStdString(tablePath));
    enableFields();
    return 1;
}

void CIrregularSeaDlg::showOptional(int id, double value, double blank) {
    if (value == blank)
        setText(id, QString());
    else
        setDouble(id, value);
}

void CIrregularSeaDlg::enableFields() {
    const WaveKind wave = WaveKind(std::max(0, comboSelection(IDC_SEA_WAVE)));
    const bool spectral = wave != WaveKind::Solitary;
    const bool table = comboSelection(IDC_SEA_SPECTRUM) == int(SpectrumShape::Table);
    for (int id :
         {IDC_SEA_SPECTRUM, IDC_SEA_HM0, IDC_SEA_TP, IDC_SEA_FMIN, IDC_SEA_FMAX, IDC_SEA_RAMP})
        enableControl(id, spectral);
    enableControl(IDC_SEA_TABLE, spectral && table);
    enableControl(IDC_SEA_BROWSE, spectral && table);
    const int shape = comboSelection(IDC_SEA_SPECTRUM);
    enableControl(IDC_SEA_GAMMA, spectral && (shape == int(SpectrumShape::Jonswap) ||
                                              shape == int(SpectrumShape::Tma)));
    enableControl(IDC_SEA_SIGMA, spectral && shape == int(SpectrumShape::Gaussian));
    // A focused group's phases and amplitudes are its own.
    enableControl(IDC_SEA_SEED, wave == WaveKind::Random);
    enableControl(IDC_SEA_METHOD, wave == WaveKind::Random);
    for (int id : {IDC_SEA_FOCUS_TIME, IDC_SEA_FOCUS_DISTANCE, IDC_SEA_CREST})
        enableControl(id, wave == WaveKind::Focused);
    enableControl(IDC_SEA_SOLITARY, wave == WaveKind::Solitary);
    enableControl(IDC_SEA_HINGE, comboSelection(IDC_SEA_PADDLE) == int(PaddleType::Flap));
}

int CIrregularSeaDlg::OnCommand(int id, int code, QWidget*) {
    if ((id == IDC_SEA_SPECTRUM || id == IDC_SEA_PADDLE || id == IDC_SEA_WAVE) &&
        code == CBN_SELCHANGE)
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
    if (read.spectrum != SpectrumShape::Table) return true;
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
    if (wave != WaveKind::Solitary) read.solitaryHeight = 0;
    if (wave == WaveKind::Solitary && !(read.solitaryHeight > 0)) {
        showFieldHint(IDC_SEA_SOLITARY, QStringLiteral("Enter the solitary wave's height."));
        return false;
    }
    if (!read.focused) return true;
    double time = NAN;
    if (!readOptional(IDC_SEA_FOCUS_TIME, time, NAN)) return false;
    read.focusTime = std::isnan(time) ? read.duration / 2 : time;
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
    bool ok = false;
    const qulonglong seed = text(IDC_SEA_SEED).trimmed().toULongLong(&ok);
    if (!ok) {
        showFieldHint(
            IDC_SEA_SEED,
            QStringLiteral("Enter a whole number from 0 to %1.").arg(QString::number(UINT64_MAX)));
        return false;
    }
    read.seed = seed;
    for (const OptionalField& f : OPTIONAL_FIELDS)
        if (control(f.id)->isEnabled() && !readOptional(f.id, read.*f.field, f.blank)) return false;
    return readWave(read) && readTable(read);
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

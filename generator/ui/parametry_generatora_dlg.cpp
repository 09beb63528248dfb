#include "generator/ui/parametry_generatora_dlg.h"

#include <climits>
#include <cstdio>

#include "generator/generator_synthesis.h"
#include "generator/ui/generator_dialog_templates.h"
#include "shell/dialog_templates.h"

namespace {

const QStringList MODEL_NAMES = {"xa=..., xd=...", "xa=..., xd=xa", "xa=0, xd=0", "xa=0.3, xd=0",
                                 "random",         "Stokes",        "with groups"};
constexpr int MODEL_XA = 3;
constexpr int MODEL_STOKES = 5;
constexpr int MODEL_GROUPS = 6;

struct NumberField {
    int id;
    double GeneratorParameters::*field;
};

constexpr NumberField NUMBER_FIELDS[] = {
    {IDC_GENERATOR_WAVE_LENGTH, &GeneratorParameters::dlugosc_fali},
    {IDC_GENERATOR_TIME_STEP, &GeneratorParameters::okres_probkowania},
    {IDC_GENERATOR_DEPTH, &GeneratorParameters::wysokosc_wody},
    {IDC_GENERATOR_RISE_FACTOR, &GeneratorParameters::narastanie},
    {IDC_GENERATOR_XA, &GeneratorParameters::wspolczynnik_xa},
    {IDC_GENERATOR_C1, &GeneratorParameters::wspolczynnik_w1},
    {IDC_GENERATOR_C2, &GeneratorParameters::wspolczynnik_w2},
    {IDC_GENERATOR_C3, &GeneratorParameters::wspolczynnik_w3},
    {IDC_GENERATOR_FIO, &GeneratorParameters::wspolczynnik_fio},
    {IDC_GENERATOR_CR, &GeneratorParameters::wspolczynnik_cr},
    {IDC_GENERATOR_NW, &GeneratorParameters::wielkosc_grupy},
};

} // namespace

int CParametryGeneratoraDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    setComboItems(IDC_GENERATOR_MODEL, MODEL_NAMES, parameters.model_generacji);
    setInt(IDC_GENERATOR_RISE, parameters.czas_narastania);
    setInt(IDC_GENERATOR_STEADY, parameters.czas_ustalony);
    setInt(IDC_GENERATOR_DECAY, parameters.czas_zaniku);
    for (const NumberField& f : NUMBER_FIELDS)
        setDouble(f.id, parameters.*f.field);
    return 1;
}

void CParametryGeneratoraDlg::enableModelFields(int model) {
    enableControl(IDC_GENERATOR_XA, model == MODEL_XA);
    for (int id : {IDC_GENERATOR_C1, IDC_GENERATOR_C2, IDC_GENERATOR_C3})
        enableControl(id, model == MODEL_STOKES);
    for (int id : {IDC_GENERATOR_FIO, IDC_GENERATOR_CR, IDC_GENERATOR_NW})
        enableControl(id, model == MODEL_GROUPS);
}

int CParametryGeneratoraDlg::OnCommand(int id, int code, QWidget*) {
    if (id == IDC_GENERATOR_MODEL && code == CBN_SELCHANGE)
        enableModelFields(comboSelection(IDC_GENERATOR_MODEL));
    if (id == IDC_GENERATOR_COPY_ALL) {
        // The wave counts as the dialog opened.
        char text[256];
        std::snprintf(text, sizeof text, "%d\t%d\t%d\r\n", parameters.czas_narastania,
                      parameters.czas_ustalony, parameters.czas_zaniku);
        if (Clipboard* board = clipboard()) board->setText(text);
    }
    return 0;
}

bool CParametryGeneratoraDlg::readFields(GeneratorParameters& read) {
    if (!readInt(IDC_GENERATOR_RISE, read.czas_narastania, 0, INT_MAX) ||
        !readInt(IDC_GENERATOR_STEADY, read.czas_ustalony, 0, INT_MAX) ||
        !readInt(IDC_GENERATOR_DECAY, read.czas_zaniku, 0, INT_MAX))
        return false;
    for (const NumberField& f : NUMBER_FIELDS)
        if (!readDouble(f.id, read.*f.field)) return false;
    int model = comboSelection(IDC_GENERATOR_MODEL);
    if (model >= 0) read.model_generacji = model;
    return true;
}

int CParametryGeneratoraDlg::OnOK() {
    GeneratorParameters read = parameters;
    if (!readFields(read)) return 1;
    std::string problem = checkGeneratorParameters(read);
    if (!problem.empty()) {
        showFieldHint(IDC_STATIC, QString::fromStdString(problem));
        return 1;
    }
    parameters = read;
    *data = parameters;
    return CDialog::OnOK();
}

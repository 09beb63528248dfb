#include "view/ui/samples_choice.h"

#include <QFile>
#include <QStringList>

#include "shell/ui/modal_ui.h"

namespace {

// "PATH holds several numeric matrices. Which one holds the samples?"
QString candidateQuestion(const std::string& path, const ReadReport& report) {
    const QString name = QFile::decodeName(path.c_str());
    if (report.datasetNeeded)
        return name +
               QStringLiteral(" holds no /samples dataset. Which dataset holds the samples?");
    return name + QStringLiteral(" holds several numeric matrices. Which one holds the samples?");
}

} // namespace

bool mayChooseSamples(const ReadReport& report, const ReadOptions& options) {
    return (report.variableNeeded || report.datasetNeeded) && report.candidateCount > 0 &&
           options.variable.empty() && options.dataset.empty();
}

bool chooseSamples(QWidget* owner, const std::string& path, const ReadReport& report,
                   ReadOptions& options) {
    QStringList items;
    for (int i = 0; i < report.candidateCount; ++i)
        items << QString::fromStdString(samplesCandidateText(report.candidates[i]));
    const int chosen = modalUi().askChoice(owner, candidateQuestion(path, report), items,
                                           largestSamplesCandidate(report));
    if (chosen < 0 || chosen >= report.candidateCount) return false;
    (report.datasetNeeded ? options.dataset : options.variable) = report.candidates[chosen].name;
    return true;
}

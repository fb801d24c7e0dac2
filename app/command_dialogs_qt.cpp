#include "app/command_dialogs_qt.h"

#include <algorithm>

#include "app/number_dialog.h"
#include "widgets/float_spin_edit.h"

#include <QFileDialog>
#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QWidget>

#include "app/bind_skin_form.h"
#include "app/export_mesh_form.h"
#include "app/mirror_form.h"
#include "state/rg_state.h"

namespace {
const char* const kSceneFilter = "Kinemo Scene (*.rig *.kmo);;All Files (*)";
}

QStringList QtFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // Descriptions often name their patterns already ("glTF 2.0 (*.gltf, *.glb)"):
        // Qt reads the last parentheses, so those give way to the pattern list.
        QString description = parts[i].trimmed();
        if (description.endsWith(')') && description.lastIndexOf(" (") > 0)
            description.truncate(description.lastIndexOf(" ("));
        out << description + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    }
    return out;
}

TCommandDialogs::TCommandDialogs(QWidget& parent, const rgState& state)
    : parent_(parent), state_(state) {
    BindSkinForm = new TBindSkinForm(&parent);
    MirrorForm = new TMirrorForm(&parent);
    ExportMeshForm = new TExportMeshForm(&parent);
}

rgAnswer TCommandDialogs::AskSaveChanges(const std::string& caption) {
    const auto answer = QMessageBox::question(
        &parent_, QString::fromStdString(caption), "Scene has been modified! Save changes?",
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    return answer == QMessageBox::Yes  ? rgAnswer::Yes
           : answer == QMessageBox::No ? rgAnswer::No
                                       : rgAnswer::Cancel;
}

bool TCommandDialogs::AskMirrorAxes(bool& x, bool& y, bool& z) {
    return MirrorForm->Ask(x, y, z);
}

bool TCommandDialogs::AskBindSkin(rgBindSkinSettings& settings) {
    return BindSkinForm->Ask(settings);
}

std::string TCommandDialogs::AskOpenScene() {
    QFileDialog dialog(&parent_, "Load Scene");
    dialog.setNameFilter(kSceneFilter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("rig");
    return dialog.exec() ? dialog.selectedFiles().value(0).toStdString() : std::string();
}

std::string TCommandDialogs::AskSaveScene() {
    QFileDialog dialog(&parent_, "Save Scene");
    dialog.setNameFilter("Kinemo Scene (*.kmo *.rig);;All Files (*)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("rig");
    return dialog.exec() ? dialog.selectedFiles().value(0).toStdString() : std::string();
}

std::vector<std::string> TCommandDialogs::AskImportFiles(const std::string& filter,
                                                         int& chosenFilter) {
    QFileDialog dialog(&parent_, "Import");
    const QStringList filters = QtFilters(filter);
    dialog.setNameFilters(filters);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    std::vector<std::string> paths;
    if (!dialog.exec()) return paths;
    chosenFilter = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    for (const QString& path : dialog.selectedFiles()) paths.push_back(path.toStdString());
    return paths;
}

std::string TCommandDialogs::AskExportFile(const std::string& filter, int& chosenFilter) {
    QFileDialog dialog(&parent_, "Export");
    const QStringList filters = QtFilters(filter);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!dialog.exec()) return {};
    chosenFilter = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles().value(0).toStdString();
}

bool TCommandDialogs::AskExportOptions(rgExportOptions& options) {
    return ExportMeshForm->Ask(state_.totalFrames, options);
}

std::string TCommandDialogs::AskScriptFile() {
    QFileDialog dialog(&parent_, "Run Script ...");
    dialog.setNameFilter("Scripts (*.lua)");
    dialog.setDefaultSuffix("lua");
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() ? dialog.selectedFiles().value(0).toStdString() : std::string();
}

bool TCommandDialogs::AskNumber(const std::string& caption, double& value) {
    TGetFloatForm dialog(&parent_);
    dialog.setWindowTitle(QString::fromStdString(caption));
    dialog.FloatSpinEdit1->setValue(value);
    dialog.FloatSpinEdit1->selectAll();
    dialog.FloatSpinEdit1->setFocus();
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.FloatSpinEdit1->interpretText();
    value = dialog.FloatSpinEdit1->value();
    return true;
}

void TCommandDialogs::BeginWork(const std::string& caption) {
    if (!WorkDialog) {
        WorkDialog = new QProgressDialog(&parent_);
        WorkDialog->setObjectName("WorkDialog");
        WorkDialog->setWindowTitle("Kinemo");
        WorkDialog->setWindowModality(Qt::ApplicationModal);
        WorkDialog->setMinimumDuration(0);
        WorkDialog->setAutoClose(false);
        WorkDialog->setAutoReset(false);
        WorkDialog->setRange(0, 1000);
    }
    WorkDialog->setLabelText(QString::fromStdString(caption));
    WorkDialog->reset();
    WorkDialog->setValue(0);
    WorkDialog->show();
    QApplication::processEvents();
}

bool TCommandDialogs::Working(float share) {
    if (!WorkDialog || !WorkDialog->isVisible()) return true;
    WorkDialog->setValue(static_cast<int>(std::clamp(share, 0.0f, 1.0f) * 1000));
    QApplication::processEvents();
    return !WorkDialog->wasCanceled();
}

void TCommandDialogs::EndWork() {
    if (WorkDialog) WorkDialog->hide();
}

#pragma once

#include <QStringList>

#include "editing/command_dialogs.h"

class QProgressDialog;
class QWidget;
class TBindSkinForm;
class TExportMeshForm;
class TMirrorForm;
struct rgState;

// The dialogs commands ask, as windows: message boxes, file dialogs and the
// editor's own small dialogs (each made once, so those that keep their
// values between uses do).
class TCommandDialogs : public rgCommandDialogs {
public:
    TCommandDialogs(QWidget& parent, const rgState& state);

    rgAnswer AskSaveChanges(const std::string& caption) override;
    bool AskMirrorAxes(bool& x, bool& y, bool& z) override;
    bool AskBindSkin(rgBindSkinSettings& settings) override;
    std::string AskOpenScene() override;
    std::string AskSaveScene() override;
    std::vector<std::string> AskImportFiles(const std::string& filter, int& chosenFilter) override;
    std::string AskExportFile(const std::string& filter, int& chosenFilter) override;
    bool AskExportOptions(rgExportOptions& options) override;
    std::string AskScriptFile() override;
    bool AskNumber(const std::string& caption, double& value) override;
    // A progress dialog with Cancel, kept responsive while the work runs.
    void BeginWork(const std::string& caption) override;
    bool Working(float share) override;
    void EndWork() override;

    TBindSkinForm* BindSkinForm = nullptr;
    QProgressDialog* WorkDialog = nullptr;
    TMirrorForm* MirrorForm = nullptr;
    TExportMeshForm* ExportMeshForm = nullptr;

private:
    QWidget& parent_;
    const rgState& state_;
};

// "a|*.x|b|*.y" as the filters of a Qt file dialog ("a (*.x)", "b (*.y)").
QStringList QtFilters(const std::string& filter);

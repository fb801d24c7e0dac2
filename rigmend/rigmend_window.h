#pragma once

#include <QStringList>
#include <QWidget>
#include <filesystem>

#include "rigmend/message.h"

class QLineEdit;
class QListWidget;

namespace rigmend {

// The one window: a drop area for skeleton files and the clip list. It only
// turns user actions into fix runs; the fixing itself knows nothing of Qt.
class RigmendWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kWaitingEntry = "Fixing files, please wait...";
    static constexpr const char* kLinkAddress = "https://kinemo.example";

    // `workDir` is where each run creates its "Rigmend Temp" folder.
    RigmendWindow(MessageSink& messages, std::filesystem::path workDir, QWidget* parent = nullptr);

    // Runs the fix on the first skeleton file among `paths` (or the first path
    // when none is one, so the user learns why it is refused) and reports the
    // result through the message sink. Blocks until the run has ended.
    void FixDroppedFiles(const QStringList& paths);

    // The clip list's entries, in list order.
    QStringList ClipEntries() const;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddClip();
    void RemoveClip();

    MessageSink& messages_;
    std::filesystem::path workDir_;
    QLineEdit* clipField_ = nullptr;
    QListWidget* clipList_ = nullptr;
    bool fieldEmptied_ = false;  // the example text goes once per program run
    bool busy_ = false;
};

}  // namespace rigmend

#include "rigmend/rigmend_window.h"

#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFont>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "rigmend/fix_run.h"

namespace rigmend {

namespace {

QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (!data) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

template <typename W>
W* Place(W* widget, const char* name, int x, int y, int w, int h) {
    widget->setObjectName(name);
    widget->setGeometry(x, y, w, h);
    return widget;
}

}  // namespace

RigmendWindow::RigmendWindow(MessageSink& messages, std::filesystem::path workDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      messages_(messages),
      workDir_(std::move(workDir)) {
    setWindowTitle("Rigmend v1.0.1");
    setFixedSize(250, 280);
    // The controls are placed in pixels, so the text is sized in pixels too;
    // a point size grows with the screen's DPI and the labels would be cut off.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    setAcceptDrops(true);

    // Frames first, so the controls created later are stacked above them.
    Place(new QGroupBox("Drag and Drop", this), "dropFrame", 5, 5, 240, 85);
    Place(new QGroupBox("Animation", this), "animationFrame", 5, 95, 240, 160);

    auto* dropLabel = Place(new QLabel(this), "dropLabel", 10, 20, 230, 65);
    dropLabel->setText(
        "\nDrag and drop your (*.skeleton) XML file here.\n"
        "(This will fix both the skeleton and mesh.)");
    dropLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    dropLabel->setWordWrap(true);

    auto* nameLabel = Place(new QLabel("Name,From,To:", this), "nameLabel", 10, 115, 80, 20);
    nameLabel->setAlignment(Qt::AlignCenter);

    clipField_ = Place(new QLineEdit("Walk,1,12", this), "clipField", 90, 110, 100, 20);
    clipField_->setAcceptDrops(false);  // dropped files go to the window, not into the text
    clipField_->installEventFilter(this);

    auto* add = Place(new QPushButton("+", this), "addButton", 195, 110, 20, 20);
    auto* remove = Place(new QPushButton("-", this), "removeButton", 220, 110, 20, 20);
    connect(add, &QPushButton::clicked, this, &RigmendWindow::AddClip);
    connect(remove, &QPushButton::clicked, this, &RigmendWindow::RemoveClip);

    clipList_ = Place(new QListWidget(this), "clipList", 10, 140, 230, 105);
    clipList_->setAcceptDrops(false);

    auto* link = Place(new QLabel(this), "link", 72, 260, 105, 20);
    link->setTextFormat(Qt::RichText);
    link->setText(QStringLiteral("<a href=\"%1\" style=\"color: rgb(0, 0, 200);\">%2</a>")
                      .arg(kLinkAddress, QUrl(kLinkAddress).host()));
    link->setAlignment(Qt::AlignCenter);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(link, &QLabel::linkActivated, this,
            [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QStringList RigmendWindow::ClipEntries() const {
    QStringList entries;
    for (int i = 0; i < clipList_->count(); ++i) entries << clipList_->item(i)->text();
    return entries;
}

void RigmendWindow::AddClip() {
    clipList_->addItem(clipField_->text());
    clipList_->setCurrentRow(clipList_->count() - 1);
    clipField_->clear();
}

void RigmendWindow::RemoveClip() {
    const QList<QListWidgetItem*> selected = clipList_->selectedItems();
    if (selected.isEmpty()) return;
    delete selected.first();
    if (clipList_->count() > 0) clipList_->setCurrentRow(clipList_->count() - 1);
}

void RigmendWindow::FixDroppedFiles(const QStringList& paths) {
    if (busy_ || paths.isEmpty()) return;
    QString chosen = paths.first();
    for (const QString& path : paths)
        if (path.endsWith(".skeleton.xml")) {
            chosen = path;
            break;
        }

    busy_ = true;
    FixRequest request;
    request.skeleton = QFile::encodeName(chosen).toStdString();
    for (const QString& entry : ClipEntries()) request.clipEntries.push_back(entry.toStdString());
    request.workDir = workDir_;

    QListWidgetItem* waiting = nullptr;
    const FixResult result = RunFix(request, [&] {
        waiting = new QListWidgetItem(kWaitingEntry, clipList_);
        clipList_->scrollToItem(waiting);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        clipList_->repaint();  // the run blocks the event loop; show the entry now
    });
    if (waiting) {
        delete waiting;
        QGuiApplication::restoreOverrideCursor();
    }
    messages_.Show(MessageFor(result));
    busy_ = false;
}

void RigmendWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!busy_ && !LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void RigmendWindow::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (busy_ || files.isEmpty()) return;
    event->acceptProposedAction();
    // Run after the drop has been answered, so the program the files came
    // from is not kept waiting while the fix and its message box run.
    QTimer::singleShot(0, this, [this, files] { FixDroppedFiles(files); });
}

bool RigmendWindow::eventFilter(QObject* watched, QEvent* event) {
    // The example text goes with the first key typed into the field; Tab only
    // passes the focus on.
    if (watched == clipField_ && !fieldEmptied_ && event->type() == QEvent::KeyPress &&
        clipField_->hasFocus()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Tab && key != Qt::Key_Backtab) {
            clipField_->clear();
            fieldEmptied_ = true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace rigmend

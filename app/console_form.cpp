#include "app/console_form.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "scripting/console_model.h"

namespace {

QFont ConsoleFont() {
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return font;
}

}  // namespace

QString ShownConsoleLine(const std::string& line) {
    const size_t limit = TConsoleForm::kMaxShownLineLength;
    if (line.size() <= limit) return QString::fromStdString(line);
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    return QString::fromUtf8(line.data(), static_cast<qsizetype>(cut)) +
           QString(" ... (%1 more characters in console.log)").arg(line.size() - cut);
}

TConsoleForm::TConsoleForm(rgConsoleModel& model, QWidget* parent)
    : QDockWidget("Console", parent), model_(model) {
    setObjectName("TConsoleForm");
    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    const QFont font = ConsoleFont();
    Memo = new QPlainTextEdit(content);
    Memo->setObjectName("Memo");
    Memo->setReadOnly(true);
    Memo->setFont(font);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setMaximumBlockCount(static_cast<int>(rgConsoleModel::kMaxKeptLines));
    Memo->setFocusPolicy(Qt::ClickFocus);
    column->addWidget(Memo, 1);
    auto* prompt = new QHBoxLayout;
    Edit = new QLineEdit(content);
    Edit->setObjectName("Edit");
    Edit->setFont(font);
    Edit->installEventFilter(this);
    StopBtn = new QToolButton(content);
    StopBtn->setObjectName("StopBtn");
    StopBtn->setText("Stop");
    StopBtn->setToolTip("Stop the running script");
    StopBtn->setStatusTip("Stop the running script");
    StopBtn->setEnabled(false);
    prompt->addWidget(Edit, 1);
    prompt->addWidget(StopBtn);
    column->addLayout(prompt);
    setWidget(content);
    setFocusProxy(Edit);
    resize(560, 320);

    connect(StopBtn, &QToolButton::clicked, this, &TConsoleForm::StopBtnClick);
    flushTimer_.setSingleShot(true);
    connect(&flushTimer_, &QTimer::timeout, this, &TConsoleForm::FlushOutput);
    stopTimer_.setSingleShot(true);
    stopTimer_.setInterval(150);
    connect(&stopTimer_, &QTimer::timeout, this, [this] {
        if (scriptRunning && scriptRunning())
            stopTimer_.start();
        else
            StopBtn->setEnabled(false);
    });
    model_.onLine = [this](const std::string& line) { Append(line); };
    ShowAllLines();
}

TConsoleForm::~TConsoleForm() {
    model_.onLine = nullptr;
}

void TConsoleForm::Append(const std::string& line) {
    pending_.push_back(line);
    if (pending_.size() > rgConsoleModel::kMaxKeptLines) pending_.pop_front();
    if (!flushTimer_.isActive()) flushTimer_.start(0);
}

void TConsoleForm::FlushOutput() {
    flushTimer_.stop();
    if (pending_.empty()) return;
    QString text;
    for (const std::string& line : pending_) {
        if (!text.isEmpty()) text += '\n';
        text += ShownConsoleLine(line);
    }
    pending_.clear();
    Memo->appendPlainText(text);
    Memo->verticalScrollBar()->setValue(Memo->verticalScrollBar()->maximum());
}

void TConsoleForm::ShowAllLines() {
    pending_.clear();
    flushTimer_.stop();
    QString text;
    bool first = true;
    for (const std::string& line : model_.Lines()) {
        if (!first) text += '\n';
        text += ShownConsoleLine(line);
        first = false;
    }
    Memo->setPlainText(text);
    Memo->verticalScrollBar()->setValue(Memo->verticalScrollBar()->maximum());
}

void TConsoleForm::ShowConsole() {
    show();
    raise();
}

void TConsoleForm::ScriptBusy() {
    StopBtn->setEnabled(true);
    stopTimer_.start();
    FlushOutput();
}

void TConsoleForm::StopBtnClick() {
    if (stop) stop();
}

void TConsoleForm::EditKeyDown(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            const std::string command = Edit->text().toStdString();
            model_.Submit(command, run);
            Edit->clear();
            ShowAllLines();  // trimmed to the last lines now
            break;
        }
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (const auto entry = key == Qt::Key_Up ? model_.Up() : model_.Down()) {
                Edit->setText(QString::fromStdString(*entry));
                Edit->selectAll();
            }
            break;
        case Qt::Key_Escape:
            Edit->clear();
            break;
        default:
            break;
    }
}

bool TConsoleForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Up ||
            key == Qt::Key_Down || key == Qt::Key_Escape) {
            EditKeyDown(key);
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

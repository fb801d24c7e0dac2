#include "app/autosave_timer.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>

#include "state/rg_state.h"
#include "scripting/autosave.h"

TAutosaveTimer::TAutosaveTimer(rgAutosave& autosave, const rgState& state, QObject* parent)
    : QObject(parent), autosave_(autosave), state_(state), timer_(new QTimer(this)) {
    connect(timer_, &QTimer::timeout, this, &TAutosaveTimer::Tick);
    SetMinutes(state.autosaveMinutes);
}

int TAutosaveTimer::StoredMinutes() {
    bool ok = false;
    const int minutes = QSettings("Tamrik", "Kinemo").value("Autosave Minutes", 2).toInt(&ok);
    return ok && minutes >= 0 ? minutes : 2;
}

void TAutosaveTimer::StoreMinutes(int minutes) {
    QSettings("Tamrik", "Kinemo").setValue("Autosave Minutes", minutes);
}

void TAutosaveTimer::SetMinutes(int minutes) {
    timer_->stop();
    if (minutes > 0) timer_->start(minutes * 60 * 1000);
}

void TAutosaveTimer::Tick() {
    if (state_.modified && !state_.playing) autosave_.Save();
}

bool TAutosaveTimer::OfferRestore(QWidget* parent, rgAutosave& autosave) {
    const std::vector<rgAutosave::Leftover> left = autosave.Leftovers();
    if (left.empty()) return false;
    const QDateTime time =
        QFileInfo(QString::fromStdString(left.front().path.string())).lastModified();
    const QString question =
        QString("Kinemo did not close normally. Restore the autosaved scene from %1?")
            .arg(QLocale::system().toString(time, QLocale::ShortFormat));
    const bool restore =
        QMessageBox::question(parent, "Kinemo", question, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::Yes) == QMessageBox::Yes;
    bool restored = false;
    for (size_t i = 0; i < left.size(); ++i) {
        if (i == 0 && restore)
            restored = autosave.Restore(left[i].path);
        else
            autosave.Discard(left[i].path);  // older copies are not offered again
    }
    return restored;
}

#include "app/help_pages.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

QString Problem(const QString& page) {
    return "The manual could not be opened in a web browser. It is at:\n" + page;
}

}  // namespace

void OpenHelpPage(QObject* owner, const QString& page, std::function<void(const QString&)> failed) {
    if (!QFile::exists(page)) {
        failed("The manual is missing: " + page);
        return;
    }
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page))) failed(Problem(page));
        return;
    }
    auto* process = new QProcess(owner);
    QObject::connect(process, &QProcess::finished, process,
                     [process, page, failed](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0) failed(Problem(page));
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, page, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         failed(Problem(page));
                         process->deleteLater();
                     });
    process->start(opener, {QUrl::fromLocalFile(page).toString()});
}

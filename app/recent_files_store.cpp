#include "app/recent_files_store.h"

#include <QSettings>
#include <QStringList>

std::vector<std::string> TRecentFilesStore::Load() {
    std::vector<std::string> paths;
    for (const QString& path : QSettings("Tamrik", "Kinemo").value("MRU Items").toStringList())
        paths.push_back(path.toStdString());
    return paths;
}

void TRecentFilesStore::Save(const std::vector<std::string>& paths) {
    QStringList list;
    for (const std::string& path : paths) list << QString::fromStdString(path);
    QSettings("Tamrik", "Kinemo").setValue("MRU Items", list);
}

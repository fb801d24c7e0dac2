#pragma once

#include <QString>
#include <functional>

class QObject;

// Opens the manual page in the desktop's web browser. When none takes it
// (no browser, no handler for HTML, a missing page), `failed` is called
// with a message naming the page, so the user can open it by hand. Desktop
// launchers report only that they started: the handler's exit status says
// whether a browser came.
void OpenHelpPage(QObject* owner, const QString& page, std::function<void(const QString&)> failed);

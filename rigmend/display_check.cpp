#include "rigmend/display_check.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace rigmend {

namespace {

const char* Env(const char* name) {
    const char* v = std::getenv(name);
    return (v && *v) ? v : nullptr;
}

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    if (type == QtFatalMsg) {
        const char* display = Env("DISPLAY");
        std::fprintf(stderr,
                     "rigmend: cannot open the display %s%s%s; start it from a desktop session, "
                     "or use the command line (rigmend --help)\n",
                     display ? "\"" : "", display ? display : "(none)", display ? "\"" : "");
        std::fflush(stderr);
        std::_Exit(1);
    }
    // Platform plug-in chatter before the fatal line would only repeat it.
    if (context.category && std::strncmp(context.category, "qt.qpa", 6) == 0) return;
    std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
}

}  // namespace

bool DisplayNamed(std::string* why) {
    if (Env("QT_QPA_PLATFORM") || Env("DISPLAY") || Env("WAYLAND_DISPLAY")) return true;
    if (why)
        *why =
            "no display available (DISPLAY is not set); use the command line (rigmend --help) "
            "or start the window under xvfb-run";
    return false;
}

void InstallDisplayFailureHandler() {
    qInstallMessageHandler(StartupMessageHandler);
}

void RemoveDisplayFailureHandler() {
    qInstallMessageHandler(nullptr);
}

}  // namespace rigmend

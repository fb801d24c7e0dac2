#include "app/display_check.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* Env(const char* name) {
    const char* v = std::getenv(name);
    return (v && *v) ? v : nullptr;
}

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    const bool platformMessage =
        context.category && std::strncmp(context.category, "qt.qpa", 6) == 0;
    if (type == QtFatalMsg) {
        const char* display = Env("DISPLAY");
        std::fprintf(stderr, "kinemo: cannot open the display %s%s%s; start it from a desktop session or under xvfb-run\n",
                     display ? "\"" : "", display ? display : "(none)", display ? "\"" : "");
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (platformMessage) return;  // the fatal line above says it all
    std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
}

}  // namespace

bool DisplayNamed(std::string* why) {
    if (Env("QT_QPA_PLATFORM") || Env("DISPLAY") || Env("WAYLAND_DISPLAY")) return true;
    if (why) *why = "no display available (DISPLAY is not set); start Kinemo from a desktop session or under xvfb-run";
    return false;
}

void InstallDisplayFailureHandler() { qInstallMessageHandler(StartupMessageHandler); }

void RemoveDisplayFailureHandler() { qInstallMessageHandler(nullptr); }

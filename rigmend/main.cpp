#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "rigmend/command_line.h"
#include "rigmend/display_check.h"
#include "rigmend/message_box_sink.h"
#include "rigmend/rigmend_window.h"

namespace {

std::filesystem::path WorkingDirectory() {
    std::error_code ec;
    std::filesystem::path cwd = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path(".") : cwd;  // a vanished folder fails at the run
}

}  // namespace

int main(int argc, char** argv) {
    // Any argument means the command line, which needs no display.
    if (argc > 1)
        return rigmend::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc),
                                       WorkingDirectory(), std::cout, std::cerr);

    std::string why;
    if (!rigmend::DisplayNamed(&why)) {
        std::fprintf(stderr, "rigmend: %s\n", why.c_str());
        return 1;
    }
    rigmend::InstallDisplayFailureHandler();
    QApplication app(argc, argv);
    rigmend::RemoveDisplayFailureHandler();
    QApplication::setApplicationName("Rigmend");

    rigmend::MessageBoxSink messages;
    rigmend::RigmendWindow window(messages, WorkingDirectory());
    messages.SetParent(&window);
    window.show();
    return QApplication::exec();
}

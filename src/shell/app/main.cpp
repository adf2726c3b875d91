// quillmar: the keyboard settings program on the desktop.
#include "shell/app/CQuillmarApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    quillmar::shell::CQuillmarApp app(std::move(arguments));
    return app.run();
}

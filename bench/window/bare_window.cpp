// The yardsticks of the start-up benchmark, built like vk930config: a bare Qt 6 QMainWindow
// that prints when it was first painted and ends; with --text it also shows a menu and a
// label, the least a window with any text needs (the font set-up).
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <cstdio>
#include <cstring>

#include "window/first_paint.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        window.menuBar()->addMenu("&File")->addAction("E&xit");
        window.setCentralWidget(new QLabel("VK930Config"));
    }
    vk930::WhenFirstPainted(window, [] {
        std::printf("shown %lld\n", vk930::MonotonicNanoseconds());
        std::fflush(stdout);
        QApplication::quit();
    });
    window.show();
    return QApplication::exec();
}

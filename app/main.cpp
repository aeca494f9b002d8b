// DRM Quodra: schedule, receiver control and reception log for DRM listeners.
#include "app/Program.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("DRM Quodra");

    drmq::TForm1Options options;
    options.ProgramFolder = drmq::ProgramFolderOf(argv[0]);
    drmq::TProgram program(std::move(options));
    program.Form1->show();
    return app.exec();
}

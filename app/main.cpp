// DRM Quodra: schedule, receiver control and reception log for DRM listeners.
#include "app/Program.h"
#include "app/ProgramIcon.h"
#include "app/QtPlatformChoice.h"

#include <QApplication>

int main(int argc, char **argv) {
    drmq::RequestQtPlatform();
    QApplication app(argc, argv);
    QApplication::setApplicationName("DRM Quodra");
    // The dialogs show the program's icon too.
    QApplication::setWindowIcon(drmq::ProgramIcon());

    const auto locations = drmq::TFileLocations::ForProgram(drmq::ProgramFolderOf(argv[0]));
    locations.PrepareFileFolder();
    drmq::TForm1Options options;
    options.ProgramFolder = locations.FileFolder();
    options.LibraryFolders = locations.LibraryFolders();
    drmq::TProgram program(std::move(options));
    program.Form1->show();
    return app.exec();
}

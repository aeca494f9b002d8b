#include "app/Program.h"

#include "logging/AttentionDialog.h"
#include "schedule/ColorsDialog.h"
#include "tuning/PresetsDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace drmq {

TProgram::TProgram(TForm1Options options) {
    // The presets dialog copies the preset captions, so it comes after the
    // main window's start-up sequence.
    Form1 = std::make_unique<TForm1>(std::move(options));
    Form2 = new TForm2(Form1->Mem, Form1->Edit1, Form1.get());
    Form3 = new TForm3(Form1->Settings.Colors, Form1.get());
    Form4 = new TForm4(Form1.get());
    Form1->SetDialogs(Form2, Form3, Form4);
}

TProgram::~TProgram() = default;

std::string ProgramFolderOf(const char *argv0) {
    QString path = QCoreApplication::applicationDirPath();
    if (path.isEmpty() && argv0) path = QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath();
    return QDir(path).absolutePath().toStdString() + "/";
}

} // namespace drmq

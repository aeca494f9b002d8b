// TProgram: creates the main window and its three dialogs in their fixed
// order (Form1, Form2, Form3, Form4) and owns them. UI thread.
#pragma once

#include "app/Form1.h"

#include <memory>
#include <string>

namespace drmq {

struct TProgram {
    explicit TProgram(TForm1Options options);
    ~TProgram();

    std::unique_ptr<TForm1> Form1;
    TForm2 *Form2 = nullptr;
    TForm3 *Form3 = nullptr;
    TForm4 *Form4 = nullptr;
};

// Folder of the running program file, ending in '/'.
std::string ProgramFolderOf(const char *argv0);

} // namespace drmq

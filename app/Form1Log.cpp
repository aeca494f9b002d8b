// Reception log, signal-level sampling and the keyboard shortcuts.
#include "app/Form1.h"

namespace drmq {

void TForm1::Button3Click() {}

void TForm1::Button4Click() {}

void TForm1::ReadSignalLevel() {}

void TForm1::LogTick() {}

void TForm1::CloseLogOnExit() {}

int TForm1::AskAttention() { return AttentionAnswer ? AttentionAnswer() : 3; }

bool TForm1::FormShortCut(int, Qt::KeyboardModifiers) { return false; }

void TForm1::FormKeyDown(int, Qt::KeyboardModifiers, Qt::MouseButtons) {}

} // namespace drmq

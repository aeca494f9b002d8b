// The "Hamlib" receiver's settings dialog and the button that opens it.
#include "app/Form1.h"

#include "rig/HamlibDialog.h"

namespace drmq {

void TForm1::UpdateHamlibButton() {
    const TReceiverEntry *entry = SelectedEntry();
    btnhamlib->setEnabled(entry && entry->Link == TLinkKind::HamlibRig && !checkaor->isChecked());
}

void TForm1::btnhamlibClick() {
    THamlibDialog dialog(this);
    dialog.Edit(Settings.Hamlib);
}

} // namespace drmq

#pragma once

#include "mfc/dialog.h"
#include "mfc/gdiobj.h"

// Gives control controlId of dialog the bold variant of the dialog's font, kept in font (which
// must outlive the control's use of it). Nothing changes when the dialog has no font.
void setBoldDialogFont(CDialog& dialog, int controlId, CFont& font);

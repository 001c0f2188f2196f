// Read-only edits that look read-only: on the tool's home desktop an edit
// the user cannot type into shows the dialog's background instead of the
// white of an input field, so that typing into it is no silent surprise.
// Qt draws read-only and editable edits alike; this gives an edit the
// dialog's colour for as long as it is read-only, and follows later changes
// (an edit that becomes editable turns white again).
#pragma once

class QLineEdit;

namespace lx47::controls {

// Starts following the edit's read-only state; call once per edit.
void ShowReadOnlyLook(QLineEdit* edit);

}  // namespace lx47::controls

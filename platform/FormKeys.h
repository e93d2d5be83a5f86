#pragma once

class QWidget;

namespace platform {

// Asks the form to close through its ordinary close when the key is Esc; other keys do
// nothing. Every window of the program closes on Esc this way.
void CloseOnEscape(QWidget* form, int key);

} // namespace platform

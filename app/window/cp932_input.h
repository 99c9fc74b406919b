// Keeps the window's text controls to text that has a CP932 form. A change
// that brings a character without one (typed, pasted or set) is taken back
// at once, with a beep, so that what the program reads from a control is
// always exactly what the user sees in it.
#pragma once

class QLineEdit;
class QPlainTextEdit;

namespace app {

void KeepCp932(QLineEdit* edit);
void KeepCp932(QPlainTextEdit* memo);

}  // namespace app

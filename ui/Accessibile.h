#pragma once

namespace ui {

// What a screen reader is told about the program's own controls, beyond Qt's own: a picture is a
// graphic named by what it shows; a label the pupil presses is a button, one the pupil ticks is a check
// box with its state, and both can be pressed from the screen reader too; the program's window is a
// frame. Installed once, by the window or the first screen made.
void installaAccessibilita();

}  // namespace ui

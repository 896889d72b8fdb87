#pragma once
// Puts the open windows of the user-interface thread into the current
// language after it changed: every dialog of the program translates itself
// again, and the other top-level windows (the main window) have their
// caption and child texts translated, their English texts kept so that a
// later change starts from them.
void RetranslateOpenWindows();

#pragma once
// What the window does with the user's clicks, keys, drops and pastes, and with the results the
// run posts: it keeps the view's state and hands it to the window to draw.

// Takes the command line's file, then handles events until the window is asked to close.
void RunVerifyWindow();

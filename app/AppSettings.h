#pragma once
// The application's settings kept in the registry. Only what the audio views
// read is here so far; the rest of the table and its load and save come with
// the application shell.

// "bAutoLoopNewSel": a fragment made by the mouse is looped. Default 0.
bool GetAutoLoopNewSel();
void SetAutoLoopNewSel(bool on);

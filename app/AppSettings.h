#pragma once
// The application's settings kept in the registry. Only what the views and
// the playback read is here so far; the rest of the table and its load and
// save come with the application shell.

// "bAutoLoopNewSel": a fragment made by the mouse is looped. Default 0.
bool GetAutoLoopNewSel();
void SetAutoLoopNewSel(bool on);

// "iVolume": percent, 0 to 100. Default 100.
int GetVolume();
void SetVolume(int percent);

// "bAutoscrollPlayback": the view follows the play cursor. Default 1.
bool GetAutoscrollPlayback();
void SetAutoscrollPlayback(bool on);

// "bToFragmentBeginAfterStop": after playing, the play position goes back to
// the selection's start (else it stays where playing ended). Default 1.
bool GetToFragmentBeginAfterStop();
void SetToFragmentBeginAfterStop(bool on);

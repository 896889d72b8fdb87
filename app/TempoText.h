#pragma once
// The one way a tempo is written on screen, so that the fragment box and
// the tempo combo never name different tempos for one fragment: one decimal for a multiple of 0.1 ("0.8 x"), two
// otherwise ("0.85 x"), never rounded to a neighbouring tenth.
#include "platform/mfc/afx.h"

CString FormatTempo(float tempo);

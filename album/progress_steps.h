// The album window's progress bar (control 1040) as a step indicator of the
// camera operations: a yellow bar counting steps from 0.
#pragma once

#include <windows.h>

// Sets the bar's range from 0 to `last`, step 1 and the yellow bar colour.
void StartSteps(HWND window, int last);

// Moves the bar to `position`.
void ShowStep(HWND window, int position);

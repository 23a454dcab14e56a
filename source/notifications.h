// The album window's two notifications to the application, sent through the
// Source Manager.
#pragma once

// Puts the source into state 6 and tells the application that pictures wait;
// the memory transfer of the newly queued pictures starts at the first row.
void NotifyTransferReady();

// Asks the application to close the source (the user closed the album window).
void NotifyCloseRequest();

#pragma once

// The Qt window of the folder-browse dialog, for the Qt presenter.

class TBrowseDialog;

// Shows Dialog in a modal window until the user presses OK (true) or Cancel (false), or until
// an event handler fails (false).
bool ShowBrowseDialogWindow(TBrowseDialog& Dialog);

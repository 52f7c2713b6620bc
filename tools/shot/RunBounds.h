// walkthrough-shot's bounds on its own run, for a file manager's thumbnailer: a model from
// anywhere must not hold the desktop's previews up or eat its memory. A watch on a thread of its
// own ends the process at once, with one line on standard error and exit status 1, when the
// wall-clock time or the peak resident memory passes its bound; the picture, written under a
// name of its own until whole, is removed, so that no file or part of one is left.
#pragma once

#include <string>

// Starts the watch; 0 leaves that bound out, and with neither no watch starts.
void StartRunBounds(int seconds, int megabytes);

// The file the picture is being written to, removed should the watch end the run (empty: none).
void SetPictureInProgress(const std::string& path);

// The raster of unstable pairs built off the key path: on background threads while the window
// goes on taking keys and drawing (the chart unshaded meanwhile), taken into unstable_shading
// when finished. The web build has no threads: there the build runs at once, on the caller.
#pragma once

// While shading_wanted() and unstable_shading is not current, starts a build for the present
// key unless one for it is running, once the key has stayed the same over 50 ms of calls; a
// running build for another key is abandoned at once (it stops within one row). Returns whether
// a build is running or waiting to start (the caller calls again until it is not).
bool request_unstable_shading();

// Takes a finished build into unstable_shading (generation counted up, valid) when it was made
// for the present key, else drops it. Returns whether the raster on show changed, so the caller
// draws the picture again.
bool collect_unstable_shading();

// Whether a build is running or waiting for its view to settle.
bool unstable_shading_pending();

// Starts the build for the present key at once if it waits, waits for it and collects it: the
// picture export shows the shading too.
void finish_unstable_shading();

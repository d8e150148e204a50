#pragma once
// The published engine copy brought up to date for a repaint that a command
// asks for. While play runs, the play thread publishes a copy every loop; when
// it stands still (halted, the piece ended, no output) it publishes seldom or
// never, and a command's change (a mute, a program sent) would show only at
// the next publication. A command's repaint therefore publishes first.

namespace tsy {

// Returns once a publication that began after the call has completed, so the
// copy holds everything this thread did before it. Made by this thread unless
// another thread's publication comes first.
void PublishCurrentState();

}  // namespace tsy

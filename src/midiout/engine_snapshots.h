#pragma once
// Eight slots that each hold a whole engine record, so that a device switch
// can carry play over to the new output.

namespace tsy {

constexpr int kSnapshotSlots = 8;

// Copies the engine record into slot `slot`. Returns 0 for a slot outside
// 0..7 (nothing changes), else 1.
int SaveSnapshot(int slot);

// Copies slot `slot` back (the current deviceKind stays) and sends every
// channel's settings to the open output: volume, bend range, pan, fine
// tuning, expression, reverb, chorus, the known bank numbers and the
// program. Returns 0 for a slot outside 0..7 (nothing changes), else 1.
int RestoreSnapshot(int slot);

}  // namespace tsy

#pragma once
// A file that is written whole or not at all: the bytes go to a temporary
// file beside the target, which is renamed over the target once every byte
// is on disk. A failure leaves the target as it was and no temporary file.
// Every file the programs write (images, MIDI files, WAV files, settings)
// goes through here.
//
// The temporary file is named after its target ("piece.mid.tsytmp-PID-N",
// the target's name shortened where the folder's name limit needs it), so a
// temporary left by a process that was killed outright is recognised and
// removed by the next write to the same target.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_result.h"

namespace tsy {

class ReplacingFile {
 public:
  explicit ReplacingFile(const std::string& path);
  ~ReplacingFile();  // removes the temporary file unless committed
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file beside the target, after removing the
  // target's temporaries that dead processes left. An existing target's
  // permissions are kept; a target that is a link keeps the link and has the
  // file it names replaced. A target that is a device or a pipe is opened and
  // written directly instead. kCannotWrite, with the system's reason, when
  // the file cannot be created, and with EACCES when the target exists and
  // is read-only (no write permission bit, or none for this user), as cp
  // refuses it.
  FileResult Create();
  // Appends `bytes`; a failure is remembered and reported by Commit.
  void Write(std::span<const uint8_t> bytes);
  void Write(std::string_view text);
  // Overwrites bytes written earlier, at `offset` from the start (a header
  // completed once the length is known).
  void WriteAt(size_t offset, std::span<const uint8_t> bytes);
  // True once a write has failed: nothing more is written.
  bool failed() const { return error_ != 0; }
  // Puts the file in the target's place. kCannotWrite, with the reason, when
  // any write or this step failed; the target is then untouched.
  FileResult Commit();

 private:
  void Discard();

  std::string path_;  // the target, links resolved
  std::string temporary_;
  int fd_ = -1;
  int error_ = 0;         // the first write's errno, 0 while all went well
  bool inPlace_ = false;  // the target is a device or a pipe, written directly
  int signalSlot_ = -1;   // where the signal handler finds temporary_, or -1
};

// Writes `bytes` to `path` through a ReplacingFile. kCannotWrite, with the
// reason, when it failed; the old file is then untouched.
FileResult WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes);

// True when `a` and `b` name the same existing file: writing one would destroy the other.
bool SameFile(const std::string& a, const std::string& b);

// From now on SIGINT, SIGTERM and SIGHUP remove the temporary files being
// written and end the process with 128 + the signal's number (130, 143, 129),
// as a shell reports a process that such a signal ended.
void RemoveTemporariesOnSignals();

}  // namespace tsy

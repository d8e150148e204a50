#pragma once
// The names of the numbered texts. The number is the text's own, the one the
// message catalogue and the bad-input list quote (3042 "理解不能"), so each
// name stands beside it here; code uses the name.

namespace tsy {

enum class TextId : int {
  // Files, compiling and the output device.
  kCannotOpen = 1001,         // a file cannot be read or made; its path is the caption
  kCompileQuestion = 1004,    // asked before a compile, with the source path
  kDeviceQueryFailed = 1005,  // the play thread could not be made
  kDeviceStandby = 1006,      // no device opened: play waits in standby

  // Captions of the result boxes.
  kCompileResultCaption = 2004,  // the compile's message text
  kSmfResultCaption = 2005,      // the end position of an SMF export

  // The compiler's message catalogue. Each text begins with the "%s" that
  // takes the message text so far.
  kBarOutsideSingleBlock = 3001,  // '|' in a skipped block of more than one track
  kCfrValueOutOfRange = 3002,     // @cfr, with the value
  kTooManyChordNotes = 3003,
  kChannelOutOfRange = 3004,     // @ch
  kCommentTooLong = 3005,        // @com
  kContValueOutOfRange = 3006,   // @cont, @rev
  kDetuneOutOfRange = 3007,      // @dt, @dtn, @dts
  kLinePrefix = 3008,            // "\nLine.%4d: " before every other message but 3030
  kExpressionOutOfRange = 3009,  // u
  kGateTimeOutOfRange = 3010,    // q
  kSysExFirstByteNull = 3011,    // @h
  kSysExBadCharacter = 3012,     // @h, with the character
  kHoldValueOutOfRange = 3013,   // @hold, with the value
  kJumpOutOfRange = 3014,        // @jump
  kTrackTagOutOfRange = 3015,    // @kd
  kLabelOutOfRange = 3016,       // @label
  kTieAfterExactLength = 3017,   // '^' after '='
  kDotAfterExactLength = 3018,   // '.' after '='
  kOrnamentLeavesNoLength = 3019,
  kResolutionOutOfRange = 3020,  // a length of no tick, or too long for one event
  kLfovValueOutOfRange = 3021,   // @lfov, with the value
  kEndlessLoop = 3022,           // @jump back over no time
  kRepeatWithoutStart = 3023,    // ')' without '('
  kRepeatCountOutOfRange = 3024,
  kNotANumber = 3025,            // a sign where @sos takes none
  kOctaveOutOfRange = 3026,      // with the octave asked for
  kOctaveUpOutOfRange = 3027,    // '>' inside 'w'
  kOctaveDownOutOfRange = 3028,  // '<' inside 'w'
  kCopyrightTooLong = 3029,
  kDataOverflow = 3030,                // the image size limit; no line prefix
  kPanOutOfRange = 3031,               // @pan
  kBadCharacterInGroup = 3032,         // inside '{}'
  kSosValueOutOfRange = 3034,          // @sos, with the value
  kSubstitutionTooLong = 3035,         // a '$' body too long
  kSubstitutionNotRegistrable = 3036,  // '$' and a letter without '['
  kSubstitutionNotFound = 3037,        // a letter without registration, with the letter
  kTempoOutOfRange = 3038,             // t
  kToneOutOfRange = 3039,              // @ tone numbers
  kBadTrackSelection = 3040,           // a second '-' in a track list
  kBadTransposition = 3041,            // '_' not followed by a letter
  kNotUnderstood = 3042,
  kBadExactLength = 3043,  // '=' in a length
  kBadSign = 3044,
  kVarcValueOutOfRange = 3045,    // @varc, with the argument's position
  kVelocityOutOfRange = 3046,     // v, @v
  kTrackVolumeOutOfRange = 3047,  // @vol

  // Titles of the folder browsers of the Options sheet.
  kMusFolderTitle = 5001,
  kEmdFolderTitle = 5002,
  kSmfFolderTitle = 5003,
};

}  // namespace tsy

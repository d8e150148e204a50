// The events of a track stream, one line each: everything event_table.h
// knows about an event code comes from this list. No include guard: the file
// is included once for every use of EVENT, which the includer defines as
//   EVENT(id, code, size rule, name, operands in byte order...)
// with an operand written {type} or {type, "name"}. The name is what `tsy dump`
// writes before the operand's value, none for the only operand of an event.
//
// ORDER EventCode: the lines stand in increasing code order (checked where
// the table is built), so that tables indexed like it can be checked too.

// B0 c v: control change c = v
EVENT(kControlChange, 0xB0, kFixed, "control", {kU8, "cc"}, {kU8, "to"})
// B3 len 0 c from to: controller c ramps from `from` to `to` over len ticks; the zero byte is not read
EVENT(kControllerRamp, 0xB3, kFixed, "ramp", {kU16, "ticks"}, {kReserved}, {kU8, "cc"}, {kU8, "from"}, {kU8, "to"})
// B5 len i: the next note starts i semitones lower and glides to its own pitch over len ticks
EVENT(kPortamento, 0xB5, kFixed, "portamento", {kU16, "ticks"}, {kS8, "semitones"})
EVENT(kProgramChange, 0xC0, kFixed, "program", {kU8})
EVENT(kVelocity, 0xC1, kFixed, "velocity", {kU8})   // of later notes
EVENT(kTrackVolume, 0xC2, kFixed, "volume", {kU8})  // controller 7
// C3 sel d: velocity (sel 0) or expression (sel 1) changes by d
EVENT(kRelativeChange, 0xC3, kSelector, "relative", {kSelector}, {kS8, "by"})
// C4 sel d: the velocity or expression offset becomes d; C4 s, s not 0 or 1: a one-note octave mark, not read
EVENT(kOffset, 0xC4, kSelector, "offset", {kSelector}, {kS8, "to"})
EVENT(kPan, 0xC5, kFixed, "pan", {kU8})                // controller 10
EVENT(kDetune, 0xC6, kFixed, "detune", {kCentred16})   // fine tuning, sent as registered parameter 1
EVENT(kExpression, 0xC7, kFixed, "expression", {kU8})  // controller 11
EVENT(kChannel, 0xE0, kFixed, "channel", {kU8})        // the track's channel becomes c (0..15)
EVENT(kTrackTag, 0xE1, kFixed, "keyboard", {kU8})      // display keyboard of the track (1..6, 0 none)
// E8 01 00 d: repeat start at nesting depth d (found again at play time by its bytes)
EVENT(kRepeatStart, 0xE8, kFixed, "repeat", {kReserved}, {kReserved}, {kU8, "depth"})
// E9 d n: the body since E8 01 00 d runs n times in all
EVENT(kRepeatEnd, 0xE9, kFixed, "repeat-end", {kU8, "depth"}, {kU8, "times"})
EVENT(kLabel, 0xEA, kFixed, "label", {kU8})
EVENT(kJump, 0xEB, kFixed, "jump", {kU8})     // continue after the first label of the track
EVENT(kNoOutput, 0xEE, kFixed, "noout")       // disarms bar-line synchronisation
EVENT(kBarLine, 0xEF, kFixed, "bar")          // synchronisation point of all tracks
EVENT(kTempo, 0xF0, kFixed, "tempo", {kU16})  // quarter notes per minute
EVENT(kChannelFlag, 0xF8, kFixed, "channel-flag", {kFlagChange})
EVENT(kComment, 0xFA, kText, "comment")                   // FA text 00
EVENT(kRestartStop, 0xFC, kFixed, "restart-stop", {kU8})  // 0 restart the piece, 1 stop
EVENT(kChordLink, 0xFD, kFixed, "chord")                  // the next note shares this tick
// FE n data: n (1..127) bytes of a system-exclusive message, start and end bytes included
EVENT(kSystemExclusive, 0xFE, kCounted, "sysex")

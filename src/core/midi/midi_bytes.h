#pragma once
// The MIDI bytes the program writes, mirrors and recognises, named once for
// the compiler's controller events, the engine, the SMF writer, the output
// side and the Tone window: status bytes, controller numbers, parameter
// numbers, the rhythm channel, the device resets and the Master Volume
// message.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace tsy::midi {

// ---------------------------------------------------------------- status bytes

// Channel messages: the kind in the high four bits, the channel (0..15) in the low four.
constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kKeyPressure = 0xA0;
constexpr uint8_t kControlChange = 0xB0;
constexpr uint8_t kProgramChange = 0xC0;
constexpr uint8_t kChannelPressure = 0xD0;
constexpr uint8_t kPitchBend = 0xE0;
// System exclusive: a message runs from kSysExStart to kSysExEnd. In a
// Standard MIDI File kSysExEnd also begins a message that carries no F0.
constexpr uint8_t kSysExStart = 0xF0;
constexpr uint8_t kSysExEnd = 0xF7;
constexpr uint8_t kMetaEvent = 0xFF;  // in a Standard MIDI File only

constexpr uint8_t kStatusBit = 0x80;  // set in a status byte, clear in every data byte
constexpr uint8_t kDataBits = 0x7F;

// The status byte of channel message `kind` on `channel` (0..15).
constexpr uint8_t Status(uint8_t kind, int channel) { return static_cast<uint8_t>(kind | channel); }
constexpr uint8_t KindOf(uint8_t status) { return status & 0xF0; }
constexpr int ChannelOf(uint8_t status) { return status & 0x0F; }
// System common and real-time messages: the MIDI clock and transport that
// play sends besides the music, 24 clocks to a quarter note.
constexpr uint8_t kSongPosition = 0xF2;  // two data bytes: the position in sixteenths, low 7 bits first
constexpr uint8_t kTimingClock = 0xF8;
constexpr uint8_t kStart = 0xFA;
constexpr uint8_t kContinue = 0xFB;
constexpr uint8_t kStop = 0xFC;
constexpr uint32_t kTicksPerClock = 2;          // 48 ticks to a quarter note
constexpr uint32_t kTicksPerSongPosition = 12;  // the Song Position Pointer counts sixteenths

// Program change and channel pressure carry one data byte, the other channel
// messages two; of the system messages the song position two, the song
// select and time code one, the rest none.
constexpr int DataBytes(uint8_t status) {
  if (status == kSongPosition) return 2;
  if (status == 0xF1 || status == 0xF3) return 1;
  if (status >= 0xF4) return 0;
  return KindOf(status) == kProgramChange || KindOf(status) == kChannelPressure ? 1 : 2;
}

// ---------------------------------------------------------------- controllers

constexpr uint8_t kBankSelect = 0;
constexpr uint8_t kDataEntry = 6;
constexpr uint8_t kVolume = 7;
constexpr uint8_t kPan = 10;
constexpr uint8_t kExpression = 11;
constexpr uint8_t kBankSelectLsb = 32;
constexpr uint8_t kDataEntryLsb = 38;
constexpr uint8_t kSustain = 64;  // pedals are on at 64 or more
constexpr uint8_t kSostenuto = 66;
constexpr uint8_t kSoftPedal = 67;
constexpr uint8_t kReverbSend = 91;
constexpr uint8_t kTremoloDepth = 92;
constexpr uint8_t kChorusSend = 93;
constexpr uint8_t kCelesteDepth = 94;
constexpr uint8_t kNrpnLsb = 98;
constexpr uint8_t kNrpnMsb = 99;
constexpr uint8_t kRpnLsb = 100;
constexpr uint8_t kRpnMsb = 101;
constexpr uint8_t kResetAllControllers = 121;
constexpr uint8_t kAllNotesOff = 123;

constexpr uint8_t kPedalOn = 127;  // what the program sends to press a pedal
constexpr uint8_t kPanCentre = 64;

// ---------------------------------------------------------------- parameters

// Registered parameters as (msb << 8 | lsb) of controllers 101 and 100:
// 0 is the bend range, 1 the fine tuning.
constexpr uint16_t kRpnFineTune = 0x0001;
constexpr uint16_t kNoParameter = 0x7F7F;  // (127, 127): none selected; also for the NRPN pair

// Non-registered parameters of the sound (NRPN msb kNrpnSound): vibrato and
// filter, each with its value centred on 64.
constexpr uint8_t kNrpnSound = 1;
constexpr uint8_t kNrpnVibratoRate = 8;
constexpr uint8_t kNrpnVibratoDepth = 9;
constexpr uint8_t kNrpnVibratoDelay = 10;
constexpr uint8_t kNrpnFilterCutoff = 32;
constexpr uint8_t kNrpnFilterResonance = 33;
constexpr int kNrpnCentre = 64;

// 14-bit values (pitch bend, fine tuning) in two data bytes, low seven bits first.
constexpr int kCentre14 = 8192;  // no bend, in tune
constexpr int kMax14 = 16383;
constexpr uint8_t Lsb7(int value) { return value & kDataBits; }
constexpr uint8_t Msb7(int value) { return (value >> 7) & kDataBits; }

// The bend range the program sets on every channel.
constexpr uint8_t kBendRangeSemitones = 24;

struct ControllerValue {
  uint8_t controller;
  uint8_t value;
};

// Registered parameter 0 set to kBendRangeSemitones, as every start sends it.
constexpr ControllerValue kBendRangeSetting[] = {{kRpnMsb, 0}, {kRpnLsb, 0}, {kDataEntry, kBendRangeSemitones}};

// Registered parameter 1, fine tuning, set to the 14-bit `value` (kCentre14 in tune).
constexpr std::array<ControllerValue, 4> FineTuneSetting(int value) {
  return {{{kRpnMsb, 0}, {kRpnLsb, 1}, {kDataEntry, Msb7(value)}, {kDataEntryLsb, Lsb7(value)}}};
}

// The rhythm channel of General MIDI (channel 10 to the user).
constexpr int kRhythmChannel = 9;

// ---------------------------------------------------------------- system exclusive

// Device resets.
inline constexpr uint8_t kGmSystemOn[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
inline constexpr uint8_t kGsReset[] = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
inline constexpr uint8_t kXgSystemOn[] = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
inline constexpr uint8_t kSc88ModeSet[] = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x00, 0x01, 0xF7};

// True when the `length` bytes at `bytes` begin with the whole of `message`.
inline bool BeginsWith(const uint8_t* bytes, size_t length, std::span<const uint8_t> message) {
  return length >= message.size() && std::memcmp(bytes, message.data(), message.size()) == 0;
}

// The universal real-time Master Volume: F0 7F <device> 04 01 <lsb> <msb> F7.
constexpr size_t kMasterVolumeSize = 8;
constexpr uint8_t kAllDevices = 0x7F;

constexpr std::array<uint8_t, kMasterVolumeSize> MasterVolume(uint8_t lsb, uint8_t msb) {
  return {kSysExStart, 0x7F, kAllDevices, 0x04, 0x01, lsb, msb, kSysExEnd};
}
// A Master Volume message to any device.
inline bool IsMasterVolume(const uint8_t* bytes, size_t length) {
  return length == kMasterVolumeSize && bytes[0] == kSysExStart && bytes[1] == 0x7F && bytes[3] == 0x04 &&
         bytes[4] == 0x01;
}
// Its volume, 0..kMax14.
inline int MasterVolumeValue(const uint8_t* bytes) { return bytes[6] << 7 | bytes[5]; }

// ---------------------------------------------------------------- meta events

constexpr uint8_t kMetaTempo = 0x51;  // three bytes: µs per quarter note
constexpr uint8_t kMetaEndOfTrack = 0x2F;

constexpr size_t kTempoMetaSize = 6;
constexpr std::array<uint8_t, kTempoMetaSize> TempoMeta(uint32_t microsPerQuarter) {
  return {kMetaEvent,
          kMetaTempo,
          3,
          static_cast<uint8_t>(microsPerQuarter >> 16),
          static_cast<uint8_t>(microsPerQuarter >> 8),
          static_cast<uint8_t>(microsPerQuarter)};
}

}  // namespace tsy::midi

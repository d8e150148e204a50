// What port names tell: the stable part a saved setting matches, and how
// the MIDI Mapper ranks the ports it may play through.

#include "midiout/port_names.h"

#include <gtest/gtest.h>

namespace tsy {
namespace {

TEST(PortNames, TheStableNameDropsSequencerNumbersAndProcessIds) {
  EXPECT_EQ(StablePortName("Midi Through:Midi Through Port-0 14:0"), "Midi Through:Midi Through Port-0");
  EXPECT_EQ(StablePortName("FLUID Synth (4711):Synth input port (4711:0) 128:0"), "FLUID Synth:Synth input port");
  EXPECT_EQ(StablePortName("fluidsynth:midi_00"), "fluidsynth:midi_00") << "a JACK name has no numbers to drop";
  EXPECT_EQ(StablePortName("USB Keys 2"), "USB Keys 2") << "a number that is part of the name stays";
}

TEST(PortNames, ASettingFindsItsPortAfterTheSynthesiserRestarted) {
  const std::vector<std::string> ports = {"Midi Through:Midi Through Port-0 14:0",
                                          "FLUID Synth (5120):Synth input port (5120:0) 129:0", "Synth B 130:0"};
  EXPECT_EQ(FindPort(ports, "Synth B 130:0"), 2) << "the exact name";
  EXPECT_EQ(FindPort(ports, "Synth B 128:0"), 2) << "renumbered by the sequencer";
  EXPECT_EQ(FindPort(ports, "FLUID Synth (4711):Synth input port (4711:0) 128:0"), 1) << "a new process id";
  EXPECT_EQ(FindPort(ports, "Synth C 130:0"), -1);
  EXPECT_EQ(FindPort(ports, ""), -1);
  EXPECT_EQ(FindPort({"USB Keys 1", "USB Keys 2"}, "USB Keys 2"), 1);
  EXPECT_EQ(FindPort({"USB Keys 1"}, "USB Keys 2"), -1) << "a number in the name is no run-time number";
}

TEST(PortNames, ASettingCutToItsFieldMatchesTheStartOfTheName) {
  // The settings field keeps 31 bytes; a cut may fall inside a number.
  const std::vector<std::string> ports = {"FLUID Synth (5120):Synth input port (5120:0) 129:0",
                                          "Some Client:Some Long Port 131:0"};
  EXPECT_EQ(FindPort(ports, "FLUID Synth (4711):Synth input "), 0) << "the 31 bytes the field kept";
  EXPECT_EQ(FindPort(ports, "Some Client:Some Long Port 128:"), 1) << "renumbered, and cut inside the address";
  EXPECT_EQ(FindPort(ports, "Some Client"), -1) << "a short name is no cut name";
}

TEST(PortNames, TheMapperPrefersSynthesisersAndHardwareAndNeverPlaysIntoSilence) {
  EXPECT_EQ(MapperFitOf("Midi Through:Midi Through Port-0 14:0"), MapperFit::kSilent);
  EXPECT_EQ(MapperFitOf(kOwnPortName), MapperFit::kSilent);
  EXPECT_EQ(MapperFitOf("FLUID Synth (5120):Synth input port (5120:0) 129:0"), MapperFit::kSounds);
  EXPECT_EQ(MapperFitOf("TiMidity:TiMidity port 0 128:0"), MapperFit::kSounds);
  EXPECT_EQ(MapperFitOf("qsynth:midi"), MapperFit::kSounds);
  EXPECT_EQ(MapperFitOf("UM-ONE:UM-ONE MIDI 1 20:0"), MapperFit::kSounds) << "a kernel client: hardware";
  EXPECT_EQ(MapperFitOf("system:midi_playback_1"), MapperFit::kSounds) << "JACK's hardware port";
  EXPECT_EQ(MapperFitOf("Sequencer:in 130:0"), MapperFit::kMaySound);
  EXPECT_EQ(MapperFitOf("sink:in"), MapperFit::kMaySound);

  const std::vector<std::string> ports = {kOwnPortName, "Midi Through:Midi Through Port-0 14:0", "Sequencer:in 130:0",
                                          "TiMidity:TiMidity port 0 128:0", "sink:in"};
  EXPECT_EQ(MapperOrder(ports), (std::vector<int>{3, 2, 4}));
}

}  // namespace
}  // namespace tsy

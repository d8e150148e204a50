// Letter and '@' commands: the events each writes, its range edges and the
// message each fault shows.
#include <gtest/gtest.h>

#include "track_compile.h"

namespace tsy::test {
namespace {

TEST(LetterCommands, TempoVelocityExpression) {
  const Golden cases[] = {
      {"t120", "F0 78 00", 0},
      {"t12t992", "F0 0C 00 F0 E0 03", 0},
      {"v15", "C1 7F", 0},
      {"v8", "C1 43", 0},  // 8 x 127 / 15, truncated
      {"v0", "C1 00", 0},
      {"v+5v-5", "C3 00 05 C3 00 FB", 0},
      {"v=+3v=-3", "C4 00 03 C4 00 FD", 0},
      {"v+127v-128", "C3 00 7F C3 00 80", 0},
      {"u127u0", "C7 7F C7 00", 0},
      {"u+1u-1", "C3 01 01 C3 01 FF", 0},
      {"u=+10u=-10", "C4 01 0A C4 01 F6", 0},
  };
  ExpectGolden(cases);
}

TEST(LetterCommands, Faults) {
  const FaultCase cases[] = {
      {"t11", TextId::kTempoOutOfRange, "テンポ逸脱！"},
      {"t993", TextId::kTempoOutOfRange},
      {"t", TextId::kTempoOutOfRange},
      {"v16", TextId::kVelocityOutOfRange, "ボリューム(ベロシティー)逸脱！"},
      {"v=3", TextId::kVelocityOutOfRange},
      {"v+128", TextId::kVelocityOutOfRange},  // would wrap in the event's signed byte
      {"v=-129", TextId::kVelocityOutOfRange},
      {"v+5-", TextId::kBadSign, "異常符号指定！"},
      {"v+", TextId::kBadSign},
      {"u128", TextId::kExpressionOutOfRange, "エクスプレッション(U)逸脱！"},
      {"u=1", TextId::kExpressionOutOfRange},
      {"u-129", TextId::kExpressionOutOfRange},
  };
  ExpectFaults(cases);
}

TEST(LetterCommands, TempoFaultNamesTheLineAfterTheNumber) {
  CompileResult r = CompileSource("1[t5\nc]");
  ASSERT_EQ(r.diagnostics.size(), 1u);
  EXPECT_EQ(r.diagnostics[0].id, TextId::kTempoOutOfRange);
  EXPECT_EQ(r.diagnostics[0].at.line, 2u);
}

TEST(ToneCommands, ProgramBankAndToneMap) {
  const Golden cases[] = {
      {"@0", "C0 00", 0},
      {"@127", "C0 7F", 0},
      {"@5,1,2", "B0 00 01 B0 20 02 C0 05", 0},
      {"@5,1", "B0 00 01 B0 20 00 C0 05", 0},
      {"@5,,2", "B0 00 00 B0 20 02 C0 05", 0},
      {"@5,", "C0 05", 0},
      {"@200", "C0 00", 0},  // undefined entries above 127 are program 0
      {"@200=10,0,3@200", "B0 00 00 B0 20 03 C0 0A", 0},
      {"@200=10@200", "C0 0A", 0},
      {"@5=9@5", "C0 09", 0},
      {"@5=9,1,1@5=9@5", "C0 09", 0},  // a definition without bank drops the bank
  };
  ExpectGolden(cases);
  ExpectFaults({
      {"@128,0,0", TextId::kToneOutOfRange, "音色逸脱！"},
      {"@256", TextId::kToneOutOfRange},
      {"@5,128", TextId::kToneOutOfRange},
      {"@5,0,128", TextId::kToneOutOfRange},
      {"@5=128", TextId::kToneOutOfRange},
      {"@256=1", TextId::kToneOutOfRange},
  });
}

TEST(ToneCommands, DefinitionsHoldForLaterTracks) {
  CompileResult r = CompileSource("1[@200=10,0,3c]2[@200c]");
  EXPECT_TRUE(r.errorFree());
  EXPECT_EQ(TrackEvents(r, 2), Hex("B0 00 00 B0 20 03 C0 0A 30 03 07 00 30"));
}

TEST(ControllerCommands, EventsAndRangeEdges) {
  const Golden cases[] = {
      {"@v127@v0", "C1 7F C1 00", 0},
      {"@vol100", "C2 64", 0},
      {"@pan-63@pan63@pan+1@pan", "C5 01 C5 7F C5 41 C5 40", 0},
      {"@l@lm@m@rm@r", "C5 01 C5 20 C5 40 C5 60 C5 7F", 0},
      {"@ch1@ch16", "E0 00 E0 0F", 0},
      {"@kd1@kd6@km", "E1 01 E1 06 E1 00", 0},
      {"@cont7,100@cont", "B0 07 64 B0 00 00", 0},
      {"@hold1@hold0", "B0 40 7F B0 40 00", 0},
      {"@sos1,0@sos,1", "B0 42 7F B0 43 00 B0 43 7F", 0},
      {"@sos1,1,1,1", "B0 42 7F B0 43 7F", 0},  // four values are read, two used
      {"@rev1,2,3,4", "B0 5B 01 B0 5D 02 B0 5C 03 B0 5E 04", 0},
      {"@rev,,5", "B0 5C 05", 0},
      {"@lfov1,-2,+3", "B0 63 01 B0 62 08 B0 06 41 B0 63 01 B0 62 09 B0 06 3E B0 63 01 B0 62 0A B0 06 43", 0},
      {"@cfr-50,50", "B0 63 01 B0 62 20 B0 06 0E B0 63 01 B0 62 21 B0 06 72", 0},
      {"@varc2,0,7,0,127@varc=5,0,7", "B3 60 00 00 07 00 7F B3 05 00 00 07 00 00", 0},
      {"@varc1^1,0,11,+127,0", "B3 80 01 00 0B 7F 00", 0},
      {"@dtn63@dtn-63", "C6 80 3F C6 80 00", 0},
      {"@dt10@dt-3", "C6 02 20 C6 00 20", 0},  // a quarter, truncated toward zero
      {"@dts-8191@dts8191@dts", "C6 01 00 C6 FF 3F C6 00 20", 0},
      {"@eqn@eqd", "F8 00 F8 80", 0},
      {"@VOL100@Pan-1", "C2 64 C5 3F", 0},  // names in any case
  };
  ExpectGolden(cases);
  // Commands that write nothing leave the track without a stream.
  for (const char* body : {"@hold", "@sos", "@rev", "@si", "@so", "@ql", "@qx", "@com", "@h", "@trn"})
    EXPECT_EQ(CompileTrack(body).fault, kNoFault) << body;
}

TEST(ControllerCommands, Faults) {
  const FaultCase cases[] = {
      {"@v128", TextId::kVelocityOutOfRange},
      {"@vol128", TextId::kTrackVolumeOutOfRange, "トラックボリューム逸脱！"},
      {"@pan64", TextId::kPanOutOfRange, "@PAN逸脱！"},
      {"@pan-64", TextId::kPanOutOfRange},
      {"@pan6-3", TextId::kBadSign},
      {"@ch0", TextId::kChannelOutOfRange, "@CH逸脱！"},
      {"@ch17", TextId::kChannelOutOfRange},
      {"@kd0", TextId::kTrackTagOutOfRange, "@KD逸脱！"},
      {"@kd7", TextId::kTrackTagOutOfRange},
      {"@cont128,0", TextId::kContValueOutOfRange, "@CONT値逸脱！"},
      {"@cont0,128", TextId::kContValueOutOfRange},
      {"@hold2", TextId::kHoldValueOutOfRange, "@HOLD値逸脱(2)！"},
      {"@sos2", TextId::kSosValueOutOfRange, "@SOS値逸脱(2)！"},
      {"@sos1,-1", TextId::kNotANumber, "数値外指定！"},
      {"@sos1+", TextId::kNotANumber},
      {"@rev128", TextId::kContValueOutOfRange},
      {"@lfov51", TextId::kLfovValueOutOfRange, "@LFOV値逸脱(51)！"},
      {"@lfov,,-51", TextId::kLfovValueOutOfRange, "@LFOV値逸脱(-51)！"},
      {"@cfr,-51", TextId::kCfrValueOutOfRange, "@CFR値逸脱(-51)！"},
      {"@varc4,1,7,0,127", TextId::kVarcValueOutOfRange, "@VARC値逸脱(引数0)！"},
      {"@varc4,0,128", TextId::kVarcValueOutOfRange, "@VARC値逸脱(引数1)！"},
      {"@varc4,0,7,0,-1", TextId::kVarcValueOutOfRange, "@VARC値逸脱(引数3)！"},
      {"@dtn64", TextId::kDetuneOutOfRange, "デチューン(@DT @DTN @DTS)逸脱！"},
      {"@dtn-64", TextId::kDetuneOutOfRange},
      {"@dt32768", TextId::kDetuneOutOfRange},
      {"@dts8192", TextId::kDetuneOutOfRange},
  };
  ExpectFaults(cases);
}

TEST(FlowCommands, LabelsJumpsAndMarks) {
  const Golden cases[] = {
      {"@label1c@jump1", "EA 01 30 03 07 00 30 EB 01", 48},
      {"@label1r@jump1", "EA 01 7F 03 07 00 30 EB 01", 48},
      {"@label1wce@jump1", "EA 01 B5 30 00 04 34 03 07 00 30 EB 01", 48},
      {"@jump255@label0", "EB FF EA 00", 0},
      {"@noout", "EE", 0},
      {"'", "EF", 0},
      {"c*", "30 03 07 00 30 FC 00", 48},
      {"c**", "30 03 07 00 30 FC 01", 48},
      {"c@xasmd]2[e", "30 03 07 00 30", 48},  // the rest of the text is skipped
  };
  ExpectGolden(cases);
  ExpectFaults({
      {"@label1@jump1", TextId::kEndlessLoop, "永久ループ！"},
      {"@label1t120@jump1", TextId::kEndlessLoop},
      {"@label256", TextId::kLabelOutOfRange, "@LABEL逸脱！"},
      {"@jump256", TextId::kJumpOutOfRange, "@JUMP逸脱！"},
  });
}

TEST(CommentCommand, TextIsStoredAsWritten) {
  ExpectGolden({
      {"@com\"a b;c\"", "FA 61 20 62 3B 63 00", 0},
      // A UTF-8 source becomes CP932: the double-byte characters go in whole.
      {"@com\"テスト\"", "FA 83 65 83 58 83 67 00", 0},
  });
  const std::string eighty(80, 'x');
  Bytes expected(82, 'x');  // code, 80 characters, NUL
  expected.front() = 0xFA;
  expected.back() = 0;
  EXPECT_EQ(CompileTrack("@com\"" + eighty + "\"").events, expected);
  CompiledTrack tooLong = CompileTrack("@com\"" + eighty + "x\"");
  EXPECT_EQ(tooLong.fault, TextId::kCommentTooLong);
  EXPECT_EQ(tooLong.message, "コメント文字数逸脱！");
  ExpectFaults({{"@com\"open", TextId::kNotUnderstood}});
}

TEST(SystemExclusive, BytesTextAndChecksum) {
  const Golden cases[] = {
      {"@h{f0,41,10,42,12,cs,40,00,7f,00,ss,f7}", "FE 0B F0 41 10 42 12 40 00 7F 00 41 F7", 0},
      {"@h{F0,7E,7F,09,01,F7}", "FE 06 F0 7E 7F 09 01 F7", 0},
      {"@h{f0,\"AB\",f7}", "FE 04 F0 41 42 F7", 0},
      {"@h{f0,cs,\"AB\",ss,f7}", "FE 05 F0 41 42 7D F7", 0},  // quoted bytes are summed too
      {"@h{f0,123}", "FE 02 F0 23", 0},                       // the last two digits count
      {"@hc", "30 03 07 00 30", 48},                          // no brace: only the name
  };
  ExpectGolden(cases);

  std::string full = "@h{f0";
  for (int i = 0; i < 126; ++i) full += ",00";
  CompiledTrack t = CompileTrack(full + "}");
  EXPECT_EQ(t.fault, kNoFault);
  EXPECT_EQ(t.events.size(), 129u);
  EXPECT_EQ(CompileTrack(full + ",f7}").fault, TextId::kSysExBadCharacter);  // a 128th byte
}

TEST(SystemExclusive, Faults) {
  ExpectFaults({
      {"@h{00,f7}", TextId::kSysExFirstByteNull, "@H １バイト目が(null)！"},
      {"@h{}", TextId::kSysExFirstByteNull},
      {"@h{f0,xy}", TextId::kSysExBadCharacter, "@H 指定外文字(x)！"},
      {"@h{f0,f7", TextId::kSysExBadCharacter, "@H 指定外文字(])！"},  // the block ends first
  });
}

}  // namespace
}  // namespace tsy::test

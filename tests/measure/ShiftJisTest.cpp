#include "measure/ShiftJis.h"

#include <gtest/gtest.h>

namespace mv {
namespace {

TEST(ShiftJis, JapaneseTextAndTheMicroSign) {
  EXPECT_EQ(ToShiftJis("a,1.5\r\n"), "a,1.5\r\n");
  EXPECT_EQ(ToShiftJis("長さ"), "\x92\xB7\x82\xB3");
  EXPECT_EQ(ToShiftJis("μm"),
            "\x83\xCA"
            "m");
  EXPECT_EQ(ToShiftJis("計測点X Y="),
            "\x8C\x76\x91\xAA\x93\x5F"
            "X Y=");
}

TEST(ShiftJis, WhatTheCodePageLacksBecomesAQuestionMark) {
  EXPECT_EQ(ToShiftJis("a\U0001F600b"), "a?b");          // outside the code page, replaced as a whole
  EXPECT_EQ(ToShiftJis("x\xFFy"), "x?y");                // a stray byte
  EXPECT_EQ(ToShiftJis("\xE9\x95"), "?");                // cut short at the end
  EXPECT_EQ(ToShiftJis("\xE2\x82\xAC長"), "?\x92\xB7");  // the euro sign has no place in it
  // Long text crosses the converter's buffer without losing a byte.
  const std::string many(1000, 'z');
  EXPECT_EQ(ToShiftJis(many + "長"), many + "\x92\xB7");
}

}  // namespace
}  // namespace mv

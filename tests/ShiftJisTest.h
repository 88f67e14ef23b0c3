#pragma once

#include <gtest/gtest.h>

#include "base/CodePage.h"

// Tests whose bytes are Shift-JIS, as on the systems the plug-in is for.
class ShiftJisTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(AnsiCodePage(), 932u) << "tests need the ANSI code page 932 (Wine: LANG=ja_JP.UTF-8)"; }
};
